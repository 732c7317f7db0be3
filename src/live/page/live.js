// The live results: polls results.json (answered 304 while nothing changed) and draws the lists
// of the chosen day or the total, by run and sex, without reloading the page.
"use strict";
(function () {
  const POLL_MS = 1500;
  const TV_PAGE_MS = 8000;
  const body = document.body;
  const tv = body.dataset.ansicht === "tv";
  const query = new URLSearchParams(location.search);
  const state = { data: null, etag: "", wertung: Number(query.get("tag") || 0), suche: query.get("suche") || "",
                  lauf: query.get("lauf") || "", updates: 0, tvPage: 0 };
  const $ = (id) => document.getElementById(id);
  const el = (tag, text, cls) => {
    const e = document.createElement(tag);
    if (text !== undefined) e.textContent = text;
    if (cls) e.className = cls;
    return e;
  };
  const sexName = (mw) => mw === "m" ? "Männer" : mw === "w" ? "Frauen" : (mw || "ohne Angabe");
  const placeIndex = () => state.wertung >= 1 && state.wertung <= 4 ? state.wertung - 1 : 4;

  function groups(rows) {
    const byKey = new Map();
    for (const row of rows) {
      const key = row.lauf + "\u0000" + row.mw;
      if (!byKey.has(key)) byKey.set(key, { lauf: row.lauf, mw: row.mw, rows: [] });
      byKey.get(key).rows.push(row);
    }
    const list = [...byKey.values()];
    list.sort((a, b) => a.lauf.localeCompare(b.lauf, "de", { numeric: true }) ||
                        a.mw.localeCompare(b.mw, "de"));
    const p = placeIndex();
    for (const g of list) {
      g.rows.sort((a, b) => (a.plaetze[p] || 1e9) - (b.plaetze[p] || 1e9) ||
                            a.name.localeCompare(b.name, "de"));
    }
    return list;
  }

  function matches(row) {
    const s = state.suche.trim().toLowerCase();
    return (!state.lauf || row.lauf === state.lauf) &&
           (!s || row.name.toLowerCase().includes(s) || row.nr.toLowerCase() === s);
  }

  function table(group, rows) {
    const d = state.data;
    const t = el("table");
    const head = t.createTHead().insertRow();
    const day = state.wertung >= 1 && state.wertung <= 4 ? d.tage[state.wertung - 1] : null;
    const th = (text, cls) => { head.appendChild(el("th", text, cls)); };
    th("Pl."); th("Name", "name");
    if (day) {
      for (const i of day.strecken) th(d.strecken[i]);
      th("Summe");
    } else {
      for (const x of d.tage) th("Tag " + x.tag);
      th("Gesamt");
    }
    const tbody = t.createTBody();
    const p = placeIndex();
    for (const row of rows) {
      const tr = tbody.insertRow();
      tr.dataset.nr = row.nr;
      tr.appendChild(el("td", row.plaetze[p] ? row.plaetze[p] + "." : "–", "platz"));
      const name = el("td", row.name, "name");
      if (row.nr) name.appendChild(el("small", "Nr " + row.nr));
      tr.appendChild(name);
      if (day) {
        for (const i of day.strecken) {
          const cell = el("td", row.zeiten[i] || "–");
          cell.appendChild(el("small", row.punkte[i] ? row.punkte[i] + " P." : ""));
          tr.appendChild(cell);
        }
        tr.appendChild(el("td", row.summen[day.tag - 1] || "–", "summe"));
      } else {
        for (const x of d.tage) tr.appendChild(el("td", row.summen[x.tag - 1] || "–"));
        tr.appendChild(el("td", row.gesamt || "–", "summe"));
      }
    }
    return t;
  }

  function section(group, rows, note) {
    const s = el("section");
    s.appendChild(el("h2", (group.lauf ? "Lauf " + group.lauf + " · " : "") + sexName(group.mw) + (note || "")));
    s.appendChild(table(group, rows));
    return s;
  }

  function rowsPerTvPage() {
    // A row is about 6 % of the width tall (2.2vw type, two lines); room for the header kept.
    return Math.max(5, Math.floor((window.innerHeight * 0.82) / (document.body.clientWidth * 0.06)));
  }

  function render() {
    const d = state.data;
    if (!d) return;
    $("titel").textContent = d.titel || "Live-Ergebnisse";
    document.title = (d.titel ? d.titel + " – " : "") + "Live-Ergebnisse";
    $("stand").textContent = "Stand " + d.stand;
    const final = state.wertung >= 1 && state.wertung <= 4 ? d.tage[state.wertung - 1].endgueltig
                                                           : d.tage.every((x) => x.endgueltig);
    const hint = $("hinweis");
    hint.textContent = (state.wertung ? "Tag " + state.wertung : "Gesamt") + " · " + (final ? "endgültig" : "vorläufig");
    hint.className = final ? "" : "vorlaeufig";
    for (const b of document.querySelectorAll("nav button")) {
      b.setAttribute("aria-pressed", String(Number(b.dataset.wertung) === state.wertung));
    }
    const select = $("lauf");
    const runs = [...new Set(d.zeilen.map((r) => r.lauf))].sort((a, b) => a.localeCompare(b, "de", { numeric: true }));
    if (select.options.length - 1 !== runs.length) {
      select.replaceChildren(el("option", "alle Läufe"));
      select.options[0].value = "";
      for (const r of runs) {
        const o = el("option", r ? "Lauf " + r : "ohne Lauf");
        o.value = r;
        select.appendChild(o);
      }
      select.value = state.lauf;
    }
    const lists = [];
    const all = groups(d.zeilen);
    if (tv) {
      // As many groups a page as fit; a group longer than a page goes on over several.
      const pages = [];
      const per = rowsPerTvPage();
      let page = [], room = per;
      for (const g of all) {
        for (let i = 0; i < g.rows.length;) {
          if (room < 4 && page.length) { pages.push(page); page = []; room = per; }
          const take = Math.min(g.rows.length - i, room - 2);
          page.push([g, g.rows.slice(i, i + take)]);
          room -= take + 2;
          i += take;
        }
      }
      if (page.length) pages.push(page);
      if (pages.length) {
        state.tvPage %= pages.length;
        for (const [g, rows] of pages[state.tvPage]) lists.push(section(g, rows));
        $("seite").textContent = "Seite " + (state.tvPage + 1) + " von " + pages.length;
      }
    } else {
      for (const g of all) {
        const rows = g.rows.filter(matches);
        if (rows.length) lists.push(section(g, rows));
      }
    }
    if (!lists.length) lists.push(el("p", d.zeilen.length ? "Keine Treffer." : "Noch keine Ergebnisse.", "leer"));
    $("listen").replaceChildren(...lists);
  }

  async function poll() {
    try {
      const headers = state.etag ? { "If-None-Match": state.etag } : {};
      const answer = await fetch("results.json", { cache: "no-store", headers });
      if (answer.status === 200) {
        state.etag = answer.headers.get("ETag") || "";
        state.data = await answer.json();
        body.dataset.aktualisiert = String(++state.updates);
        render();
      }
      body.classList.remove("getrennt");
    } catch (e) {
      body.classList.add("getrennt");
    }
    setTimeout(poll, POLL_MS);
  }

  for (const b of document.querySelectorAll("nav button")) {
    b.addEventListener("click", () => { state.wertung = Number(b.dataset.wertung); render(); });
  }
  const search = $("suche");
  search.value = state.suche;
  search.addEventListener("input", () => { state.suche = search.value; render(); });
  $("lauf").addEventListener("change", (e) => { state.lauf = e.target.value; render(); });
  if (tv) setInterval(() => { state.tvPage++; render(); }, TV_PAGE_MS);
  poll();
})();
