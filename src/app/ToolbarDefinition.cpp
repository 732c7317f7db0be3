#include "app/ToolbarDefinition.h"

#include "app/CommandKeys.h"

namespace vastrel {

namespace {
ToolbarButtonDefinition Separator() {
    return {ToolbarButtonKind::Separator, u"", u"", u"", 10, {}};
}
} // namespace

const std::vector<ToolbarButtonDefinition>& ToolbarButtons() {
    static const std::vector<ToolbarButtonDefinition> buttons = {
        {ToolbarButtonKind::DropDown,
         keys::kDatabase,
         u"Datenbank",
         u"database",
         83,
         {{keys::kOpen, u"öffnen", u"open", false, true, false, u"Ctrl+O"},
          {keys::kSave, u"speichern", u"save", false, true, false, u"Ctrl+S"},
          {keys::kSaveAs, u"speichern unter", u"save-as", false, true, false, u"Ctrl+Shift+S"},
          {keys::kServerConnect, u"Server verbinden …", u"server", false, true, true},
          {keys::kServerCreate, u"auf Server anlegen …", u"server-create"},
          {keys::kRecentFiles[0], u"", u"", false, false, true},
          {keys::kRecentFiles[1], u"", u"", false, false},
          {keys::kRecentFiles[2], u"", u"", false, false},
          {keys::kRecentFiles[3], u"", u"", false, false},
          {keys::kRecentFiles[4], u"", u"", false, false},
          {keys::kDatabaseEnd, u"Ende", u"quit", false, true, true}},
         u"Alt+D"},
        Separator(),
        {ToolbarButtonKind::DropDown,
         keys::kView,
         u"Anzeige",
         u"view",
         66,
         {{keys::kViewDay1, u"1.Tag", u"day"},
          {keys::kViewDay2, u"2.Tag", u"day"},
          {keys::kViewDay3, u"3.Tag", u"day"},
          {keys::kViewDay4, u"4.Tag", u"day"},
          {keys::kViewAll, u"alles", u"all"}},
         u"Alt+A"},
        Separator(),
        {ToolbarButtonKind::DropDown,
         keys::kEdit,
         u"Bearbeitung",
         u"edit",
         90,
         {{keys::kAgeFactorsWithout, u"Zuordnung Altersfaktoren AF ohne AK-Wertung", u"factors"},
          {keys::kAgeFactorsWith, u"Zuordnung Altersfaktoren AF mit AK-Wertung", u"factors"},
          {keys::kRecalculate, u"komplette Neuberechnung", u"recalculate"},
          {keys::kDeleteRows, u"Zeile(n) löschen", u"delete"},
          {keys::kAppendRow, u"Datensatz anfügen", u"append"},
          {keys::kClearRunData, u"lösche Laufdaten", u"clear"},
          {keys::kUndo, u"Rückgängig", u"undo", false, true, true, u"Ctrl+Z"},
          {keys::kRedo, u"Wiederholen", u"redo", false, true, false, u"Ctrl+Y; Ctrl+Shift+Z"},
          {keys::kReadTimes, u"Zeiten einlesen …", u"read-times", false, true, true, u"Ctrl+I"},
          {keys::kWatchTimes, u"Zeitenordner beobachten …", u"watch-times", false}},
         u"Alt+B"},
        Separator(),
        {ToolbarButtonKind::DropDown,
         keys::kSort,
         u"Sortierung",
         u"sort",
         78,
         {{keys::kSortTotal, u"Sortierung Gesamt", u"sort-item"},
          {keys::kSortSexTotal, u"Sortierung mw-Gesamt", u"sort-item", true},
          {keys::kSortNameTotal, u"Sortierung Name-Gesamt", u"sort-item"},
          {keys::kSortRunTotal, u"Sortierung Lauf-Gesamt", u"sort-item"},
          {keys::kSortRunName, u"Sortierung Lauf-Name", u"sort-item"},
          {keys::kSortRunSexTotal, u"Sortierung Lauf-mw-Gesamt", u"sort-item"}},
         u"Alt+S"},
        Separator(),
        {ToolbarButtonKind::DropDown,
         keys::kPrint,
         u"Druckvorschau",
         u"print",
         107,
         {{keys::kPrintAll, u"alles", u"print-all", false, true, false, u"Ctrl+P"},
          {keys::kPrintSelection, u"Auswahl", u"print-selection"},
          {keys::kShortPrint, u"Kurzdruck", u"", true, false},
          {keys::kLiveResults, u"Live-Ergebnisse …", u"live", false, true, true},
          {keys::kLiveFiles, u"Live-Ergebnisse als Dateien …", u"live-files"}},
         u"Alt+V"},
        Separator(),
        {ToolbarButtonKind::DropDown,
         keys::kCertificates,
         u"Urkunde",
         u"certificate",
         68,
         {{keys::kCertificateDay1, u"1.Tag", u"certificate-item"},
          {keys::kCertificateDay2, u"2.Tag", u"certificate-item"},
          {keys::kCertificateDay3, u"3.Tag", u"certificate-item"},
          {keys::kCertificateDay4, u"4.Tag", u"certificate-item"},
          {keys::kCertificateAllDays, u"1.-4.Tag", u"certificate-item"},
          {keys::kCertificateComplete, u"1.-4.Tag komplett", u"certificate-item"},
          {keys::kCertificatePdf, u"als eine PDF-Datei", u"pdf"}},
         u"Alt+U"},
        Separator(),
        Separator(),
        {ToolbarButtonKind::Placeholder, keys::kPlaceholder, u"", u"", 0, {}},
        Separator(),
        {ToolbarButtonKind::Plain, keys::kInfo, u"Info", u"info", 51, {}, u"Alt+I"},
        Separator(),
        {ToolbarButtonKind::Plain, keys::kWeb, u"Web", u"web", 59, {}, u"F1; Alt+W"},
        Separator(),
        {ToolbarButtonKind::Plain, keys::kEnd, u"Ende", u"quit", 62, {}, u"Alt+E"},
    };
    return buttons;
}

QString ItemCaption(const QString& itemKey) {
    for (const ToolbarButtonDefinition& button : ToolbarButtons()) {
        for (const ToolbarItemDefinition& item : button.items) {
            if (itemKey == QStringView(item.key)) {
                return QString::fromUtf16(item.caption);
            }
        }
    }
    return {};
}

} // namespace vastrel
