#include "app/TimesCommand.h"

#include "app/TimeImport.h"
#include "formats/TimingFile.h"
#include "ports/Ui.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kTitle = u"Zeiten einlesen"_s;

void Tell(Ui& ui, const QString& text) {
    ui.MessageBox(text, kTitle, MessageButtons::Ok, MessageIcon::Exclamation);
}

bool Ambiguous(const TimeImportPlan& plan) {
    return std::any_of(plan.refused.begin(), plan.refused.end(),
                       [](const auto& refused) { return refused.why.contains(u"bitte den Lauf angeben"_s); });
}

} // namespace

bool ReadTimesFromFile(TableView& view, Scorer& scorer, Ui& ui, QString& folder) {
    const FileDialogResult chosen =
        ui.OpenFileDialog({kTitle,
                           u"Zeitmessung (*.lif;*.csv;*.txt)|*.lif;*.csv;*.txt|Alle Dateien (*.*)|*.*|"_s,
                           1,
                           folder,
                           {}});
    if (chosen.path.isEmpty()) {
        return false;
    }
    folder = QFileInfo(chosen.path).absolutePath();
    QFile source(chosen.path);
    if (!source.open(QIODevice::ReadOnly)) {
        Tell(ui, u"Die Datei \"%1\" lässt sich nicht lesen: %2"_s.arg(chosen.path, source.errorString()));
        return false;
    }
    return EnterTimes(view, scorer, ui, chosen.path, source.readAll(), false);
}

bool EnterTimes(TableView& view, Scorer& scorer, Ui& ui, const QString& path, const QByteArray& bytes,
                bool withoutQuestion) {
    const TimingFile file = ReadTimingFile(bytes);
    if (file.entries.empty()) {
        Tell(ui, u"In der Datei \"%1\" steht keine Zeile mit Startnummer und Zeit."_s.arg(path));
        return false;
    }
    QStringList distances;
    for (const Distance& distance : kDistances) {
        distances << QString::fromUtf16(distance.timeKey);
    }
    const auto named = DistanceOfEventName(file.eventName);
    const int preset = named ? static_cast<int>(distances.indexOf(*named)) : 0;
    const auto distance =
        withoutQuestion && named
            ? std::optional(preset)
            : ui.ChooseBox(u"Strecke der Zeiten aus \"%1\":"_s.arg(QFileInfo(path).fileName()), kTitle,
                           distances, preset);
    if (!distance || *distance < 0 || *distance >= distances.size()) {
        return false;
    }
    ResultTable& table = view.Table();
    TimeImportPlan plan = PlanTimeImport(table, file, distances[*distance], {});
    if (Ambiguous(plan)) {
        const auto run =
            ui.InputBox(u"Die Startnummern kommen in mehreren Läufen vor. Welcher Lauf?"_s, kTitle, u"1"_s);
        if (!run) {
            return false;
        }
        plan = PlanTimeImport(table, file, distances[*distance], run->trimmed());
    }
    const QString summary = TimeImportSummary(plan);
    const bool clean = plan.replace.empty() && plan.notFound.empty() && plan.refused.empty();
    if (!plan.Changes()) {
        ui.MessageBox(summary, kTitle, MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    if (!(withoutQuestion && clean) &&
        ui.MessageBox(summary + u"\r\n\r\nÜbernehmen?"_s, kTitle, MessageButtons::YesNo,
                      MessageIcon::Question) != MessageAnswer::Yes) {
        return false;
    }
    const int entered = ApplyTimeImport(table, scorer, plan, true);
    ui.SetStatusText(StatusPanel::Status, u"%1 Zeit(en) aus \"%2\" eingetragen (%3).  "_s.arg(entered).arg(
                                              QFileInfo(path).fileName(), distances[*distance]));
    return entered > 0;
}

} // namespace vastrel
