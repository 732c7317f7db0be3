#!/usr/bin/env python3
"""An independent calculation of the expected output of `vastrel-cli recalc --age-factors=mit`
for competition.csv, written from the rules alone (not from the program's code). It prints the
expected semicolon file; competition_expected.csv was made with it. Names in the input are
chosen so that the name order and the final order need no collation rules."""
import math, re, sys
from decimal import Decimal, ROUND_HALF_UP

COEF = {  # distance: (men A, men B, women A, women B)
    "60m": (13.578, 15.292, 10.762, 17.185), "100m": (5.2805, 24.526, 4.2302, 27.407),
    "200m": (1.3015, 49.407, 1.0, 56.36), "400m": (0.27741, 107.009, 0.2045, 124.642),
    "800m": (0.054476, 241.485, 0.03785, 289.771), "1000m": (0.031319, 318.491, 0.021099, 388.035),
    "1500m": (0.012749, 499.187, 0.0088769, 598.234), "3000m": (0.002634, 1098.235, 0.0017824, 1335.057),
    "5000m": (0.00087638, 1903.94, 0.00059416, 2312.325), "10km": (0.0001947, 4039.489, 0.00012948, 4953.333)}
DIST = [("60m", "Punkte1"), ("1500m", "Punkte2"), ("400m", "Punkte3"), ("100m", "Punkte4"), ("3000m", "Punkte5"),
        ("800m", "Punkte6"), ("200m", "Punkte7"), ("5000m", "Punkte8"), ("1000m", "Punkte9"), ("10km", "Summe4")]
SPRINT = {"60m", "100m", "200m"}
CLASSES = [(2, 59, "1.0000", "1.0000"), (60, 64, "0.7887", "0.8210"), (65, 69, "0.7425", "0.7857"),
           (70, 74, "0.6888", "0.7465"), (75, 79, "0.6262", "0.6992"), (80, 84, "0.5510", "0.6404"),
           (85, 89, "0.4995", "0.5657"), (90, 94, "0.3599", "0.4701")]

def lenient(s):
    m = re.match(r"\s*([+-]?(\d+\.?\d*|\.\d+))", s.replace(" ", ""))
    return float(m.group(1)) if m else 0.0

def strict(s):
    s = s.strip()
    return float(s) if re.fullmatch(r"[+-]?(\d+\.?\d*|\.\d+)", s) else None

def half_up(x, places):  # half away from zero on the 15-digit decimal form
    d = Decimal(format(x, ".15g")).quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_UP)
    return d

def num_text(x):
    if x == int(x) and abs(x) < 1e15:
        return str(int(x))
    return format(Decimal(format(x, ".15g")).normalize(), "f")

class InputError(Exception):
    pass

def seconds(text, af):
    parts = text.split(":") if text else []
    total = 0.0
    if 1 <= len(parts) <= 3:
        vals = [strict(p) for p in parts]
        if any(v is None for v in vals):
            raise InputError()
        whole = 0
        if len(vals) == 3:
            whole = round(vals[0] * 3600) + round(vals[1] * 60)  # Python rounds halves to even
        elif len(vals) == 2:
            whole = round(vals[0] * 60)
        total = whole + vals[-1]
    t = float(half_up(total, 1)) * af
    return t if af == 1.0 else float(format(t, ".15g"))

def main(path):
    lines = open(path, encoding="cp1252").read().splitlines()
    keys = lines[0].split(";")
    rows = []
    for line in lines[1:]:
        f = (line.split(";") + [""] * 33)[:33]
        r = dict(zip(keys, f))
        name = re.sub(" +", " ", r["Name Vorname"]).replace(" ,", ",")
        r["Name Vorname"] = re.sub(", *", ", ", name).strip()
        if len(r["Datum"]) > 4:
            groups = re.findall(r"(?<!\d)\d{4}(?!\d)", r["Datum"])
            r["Datum"] = groups[-1] if groups else r["Datum"][-4:]
        rows.append(r)
    rows.sort(key=lambda r: r["Name Vorname"])  # names chosen to sort plainly
    for i, r in enumerate(rows):
        if i > 0 and lenient(r["geb."]) < 1900 and r["Name Vorname"] == rows[i - 1]["Name Vorname"]:
            r["geb."] = rows[i - 1]["geb."]
        born = lenient(r["geb."])
        if born > 1900:
            age = round(lenient(r["Datum"]) - born)
            for lo, hi, w, m in CLASSES:
                if lo <= age <= hi:
                    r["AF"] = w if r["mw"] == "w" else m
        else:
            r["AF"] = "1.0000"
    rows.sort(key=lambda r: (lenient(r["Lauf"]), lenient(r["Gesamt"] or "0")), reverse=True)
    for n, r in enumerate(rows, 1):
        af = 1.0 if r["AF"].strip() == "" else lenient(r["AF"])
        women = r["mw"] == "w"
        try:
            for dist, pcol in DIST:
                a, b = (COEF[dist][2], COEF[dist][3]) if women else (COEF[dist][0], COEF[dist][1])
                t = seconds(r[dist], af)
                p = 1 if t > b else math.floor(a * (b - t) * (b - t))
                r[pcol] = str(max(p, 1))
        except InputError:
            sys.stderr.write("Vastrel: Eingabefehler in Zeile: %d\n" % n)
            raise
        for dist, pcol in DIST:
            if r[dist].strip() == "":
                r[pcol] = ""
            elif dist in SPRINT:
                v = half_up(lenient(r[dist]), 1)
                r[dist] = str(v).lstrip("0") if abs(v) < 1 else str(v)
        day = lambda a, b, c: lenient(r[a]) + lenient(r[b]) + lenient(r[c])
        s1 = half_up(day("Punkte1", "Punkte2", "Punkte3"), 0)
        r["Summe1"] = "" if s1 == 0 else str(s1)
        r["Summe2"] = num_text(day("Punkte4", "Punkte5", "Punkte6"))
        r["Summe3"] = num_text(day("Punkte7", "Punkte8", "Punkte9"))
        r["Gesamt"] = num_text(sum(lenient(r[k]) for k in ("Summe1", "Summe2", "Summe3", "Summe4")))
        for k in ("Summe1", "Summe2", "Summe3", "Gesamt"):
            if lenient(r[k]) == 0:
                r[k] = ""
    rows.sort(key=lambda r: (lenient(r["Lauf"]), lenient(r["Gesamt"] or "-1")), reverse=True)
    out = [";".join(keys)] + [";".join(r[k] for k in keys) for r in rows]
    sys.stdout.buffer.write(("\r\n".join(out) + "\r\n").encode("cp1252"))

if __name__ == "__main__":
    main(sys.argv[1])
