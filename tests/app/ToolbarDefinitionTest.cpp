#include "app/ToolbarDefinition.h"
#include "GTestPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

QString S(const char16_t* text) {
    return QString::fromUtf16(text);
}

TEST(ToolbarDefinition, ButtonsKeysCaptionsAndWidthsFromLeftToRight) {
    QStringList layout;
    for (const ToolbarButtonDefinition& b : ToolbarButtons()) {
        layout << (b.kind == ToolbarButtonKind::Separator
                       ? u"|%1"_s.arg(b.width)
                       : u"%1=%2:%3"_s.arg(S(b.key), S(b.caption)).arg(b.width));
    }
    EXPECT_EQ(layout, (QStringList{u"btnDatenbank=Datenbank:83"_s,
                                   u"|10"_s,
                                   u"btnAnzeige=Anzeige:66"_s,
                                   u"|10"_s,
                                   u"btnBearbeitung=Bearbeitung:90"_s,
                                   u"|10"_s,
                                   u"btnSortierung=Sortierung:78"_s,
                                   u"|10"_s,
                                   u"btnDrucken=Druckvorschau:107"_s,
                                   u"|10"_s,
                                   u"btnUrkundeDrucken=Urkunde:68"_s,
                                   u"|10"_s,
                                   u"|10"_s,
                                   u"btnPlaceholder=:0"_s,
                                   u"|10"_s,
                                   u"btnInfo=Info:51"_s,
                                   u"|10"_s,
                                   u"btnHilfe=Web:59"_s,
                                   u"|10"_s,
                                   u"btnEnde=Ende:62"_s}));
}

TEST(ToolbarDefinition, MenuItemsInOrder) {
    QStringList items;
    for (const ToolbarButtonDefinition& b : ToolbarButtons()) {
        for (const ToolbarItemDefinition& i : b.items) {
            items << S(b.key) + u'/' + S(i.key) + u'=' + S(i.caption);
        }
    }
    EXPECT_EQ(items, (QStringList{
                         u"btnDatenbank/btnDbÖffnen=öffnen"_s,
                         u"btnDatenbank/btnDbSpeichern=speichern"_s,
                         u"btnDatenbank/btnDbSpeichernUnter=speichern unter"_s,
                         u"btnDatenbank/btnDbServerVerbinden=Server verbinden …"_s,
                         u"btnDatenbank/btnDbServerAnlegen=auf Server anlegen …"_s,
                         u"btnDatenbank/btnDbZuletzt1="_s,
                         u"btnDatenbank/btnDbZuletzt2="_s,
                         u"btnDatenbank/btnDbZuletzt3="_s,
                         u"btnDatenbank/btnDbZuletzt4="_s,
                         u"btnDatenbank/btnDbZuletzt5="_s,
                         u"btnDatenbank/btnDbEnde=Ende"_s,
                         u"btnAnzeige/btnAnz1Tag=1.Tag"_s,
                         u"btnAnzeige/btnAnz2Tag=2.Tag"_s,
                         u"btnAnzeige/btnAnz3Tag=3.Tag"_s,
                         u"btnAnzeige/btnAnz4Tag=4.Tag"_s,
                         u"btnAnzeige/btnAnzAlles=alles"_s,
                         u"btnBearbeitung/btnBeAfOhne=Zuordnung Altersfaktoren AF ohne AK-Wertung"_s,
                         u"btnBearbeitung/btnBeAfMit=Zuordnung Altersfaktoren AF mit AK-Wertung"_s,
                         u"btnBearbeitung/btnBePunkte=komplette Neuberechnung"_s,
                         u"btnBearbeitung/btnBeLö=Zeile(n) löschen"_s,
                         u"btnBearbeitung/btnBeAnf=Datensatz anfügen"_s,
                         u"btnBearbeitung/btnLöscheLaufdaten=lösche Laufdaten"_s,
                         u"btnBearbeitung/btnRückgängig=Rückgängig"_s,
                         u"btnBearbeitung/btnWiederholen=Wiederholen"_s,
                         u"btnBearbeitung/btnBeZeitenEinlesen=Zeiten einlesen …"_s,
                         u"btnBearbeitung/btnBeZeitenordner=Zeitenordner beobachten …"_s,
                         u"btnSortierung/btnSort1=Sortierung Gesamt"_s,
                         u"btnSortierung/btnSort2=Sortierung mw-Gesamt"_s,
                         u"btnSortierung/btnSort3=Sortierung Name-Gesamt"_s,
                         u"btnSortierung/btnSort4=Sortierung Lauf-Gesamt"_s,
                         u"btnSortierung/btnSort5=Sortierung Lauf-Name"_s,
                         u"btnSortierung/btnSort6=Sortierung Lauf-mw-Gesamt"_s,
                         u"btnDrucken/btnDruckenAlles=alles"_s,
                         u"btnDrucken/btnDruckenAuswahl=Auswahl"_s,
                         u"btnDrucken/btnKurzdruck=Kurzdruck"_s,
                         u"btnDrucken/btnLiveErgebnisse=Live-Ergebnisse …"_s,
                         u"btnDrucken/btnLiveDateien=Live-Ergebnisse als Dateien …"_s,
                         u"btnUrkundeDrucken/Urkunde1Tag=1.Tag"_s,
                         u"btnUrkundeDrucken/Urkunde2Tag=2.Tag"_s,
                         u"btnUrkundeDrucken/Urkunde3Tag=3.Tag"_s,
                         u"btnUrkundeDrucken/Urkunde4Tag=4.Tag"_s,
                         u"btnUrkundeDrucken/UrkundeAlles=1.-4.Tag"_s,
                         u"btnUrkundeDrucken/UrkundeKomplett=1.-4.Tag komplett"_s,
                         u"btnUrkundeDrucken/UrkundePdf=als eine PDF-Datei"_s,
                     }));
}

TEST(ToolbarDefinition, CheckMarksVisibilityAndIcons) {
    QStringList checked;
    QStringList hidden;
    QStringList withoutIcon;
    for (const ToolbarButtonDefinition& b : ToolbarButtons()) {
        for (const ToolbarItemDefinition& i : b.items) {
            if (i.checked) {
                checked << S(i.key);
            }
            if (!i.visible) {
                hidden << S(i.key);
            }
            if (S(i.icon).isEmpty()) {
                withoutIcon << S(i.key);
            }
        }
    }
    EXPECT_EQ(checked, (QStringList{u"btnSort2"_s, u"btnKurzdruck"_s}));
    // The last files opened are shown once there are any.
    const QStringList recent = {u"btnDbZuletzt1"_s, u"btnDbZuletzt2"_s, u"btnDbZuletzt3"_s,
                                u"btnDbZuletzt4"_s, u"btnDbZuletzt5"_s};
    EXPECT_EQ(hidden, recent + QStringList{u"btnKurzdruck"_s});
    EXPECT_EQ(withoutIcon, recent + QStringList{u"btnKurzdruck"_s});
}

} // namespace
