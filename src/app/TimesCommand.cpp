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
// A box that still fits the screen, for a file of thousands of lines.
constexpr int kLinesPerListShown = 25;

void Tell(Ui& ui, const QString& text) {
    ui.MessageBox(text, kTitle, MessageButtons::Ok, MessageIcon::Exclamation);
}

bool Ambiguous(const TimeImportPlan& plan) {
    return std::any_of(plan.refused.begin(), plan.refused.end(),
                       [](const auto& refused) { return refused.why.contains(u"bitte den Lauf angeben"_s); });
}

} // namespace

bool ReadTimesFromFile(TableView& view, Scorer& scorer, Ui& ui, QString& folder) {
    const FileDialogRequest request{
        kTitle, u"Zeitmessung (*.lif;*.csv;*.txt)|*.lif;*.csv;*.txt|Alle Dateien (*.*)|*.*|"_s, 1, folder, {},
        true};
    const FileDialogResult chosen = ui.OpenFileDialog(request);
    if (chosen.path.isEmpty()) {
        return false;
    }
    const QStringList paths = QStringList{chosen.path} + chosen.more;
    folder = QFileInfo(chosen.path).absolutePath();
    int entered = 0;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QFile source(paths[i]);
        if (!source.open(QIODevice::ReadOnly)) {
            Tell(ui, u"Die Datei \"%1\" lässt sich nicht lesen: %2"_s.arg(paths[i], source.errorString()));
            continue;
        }
        const TimesEntered fromFile =
            EnterTimes(view, scorer, ui, paths[i], source.readAll(), false, i + 1 < paths.size());
        if (!fromFile) {
            break;
        }
        entered += *fromFile;
    }
    if (paths.size() > 1) {
        ui.SetStatusText(StatusPanel::Status,
                         u"%1 Zeit(en) aus %2 Dateien eingetragen.  "_s.arg(entered).arg(paths.size()));
    }
    return entered > 0;
}

TimesEntered EnterTimes(TableView& view, Scorer& scorer, Ui& ui, const QString& path, const QByteArray& bytes,
                        bool withoutQuestion, bool more) {
    ui.SetBusy(true); // a file of megabytes takes a second or two (bench_files BM_TimingFile10MB: 1.7 s)
    const TimingFile file = ReadTimingFile(bytes);
    ui.SetBusy(false);
    if (file.entries.empty()) {
        Tell(ui, u"In der Datei \"%1\" steht keine Zeile mit Startnummer und Zeit."_s.arg(path));
        return 0;
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
        return std::nullopt;
    }
    ResultTable& table = view.Table();
    ui.SetBusy(true);
    TimeImportPlan plan = PlanTimeImport(table, file, distances[*distance], {});
    ui.SetBusy(false);
    if (Ambiguous(plan)) {
        const auto run =
            ui.InputBox(u"Die Startnummern kommen in mehreren Läufen vor. Welcher Lauf?"_s, kTitle, u"1"_s);
        if (!run) {
            return std::nullopt;
        }
        plan = PlanTimeImport(table, file, distances[*distance], run->trimmed());
    }
    const QString summary = TimeImportSummary(plan, kLinesPerListShown);
    const bool clean = plan.replace.empty() && plan.notFound.empty() && plan.refused.empty();
    if (!plan.Changes()) {
        ui.MessageBox(summary, kTitle, MessageButtons::Ok, MessageIcon::Information);
        return 0;
    }
    if (!(withoutQuestion && clean)) {
        const MessageAnswer answer =
            ui.MessageBox(summary + u"\r\n\r\nÜbernehmen?"_s, kTitle,
                          more ? MessageButtons::YesNoCancel : MessageButtons::YesNo, MessageIcon::Question);
        if (answer != MessageAnswer::Yes) {
            return answer == MessageAnswer::No ? TimesEntered(0) : std::nullopt;
        }
    }
    const int entered = ApplyTimeImport(table, scorer, plan, true);
    ui.SetStatusText(StatusPanel::Status, u"%1 Zeit(en) aus \"%2\" eingetragen (%3).  "_s.arg(entered).arg(
                                              QFileInfo(path).fileName(), distances[*distance]));
    return entered;
}

} // namespace vastrel
