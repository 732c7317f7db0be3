// The real main window, offscreen, driven through its commands at a competition's size:
// one figure per command (open, recalculation, age factors, sorts, views, select all, search,
// a cell edit, deleting 1,000 rows). The competition file is made before anything is timed.
// Rows: --rows=N (default 32,767). --memory instead opens and scores the competition and prints
// the process's resident memory, in a process of its own.
#include "BenchData.h"
#include "app/Places.h"
#include "formats/FileFormats.h"
#include "gui/QtToolbar.h"
#include "gui/ResultGrid.h"
#include "gui/frmVastrel.h"
#include "ports/Settings.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::bench;

namespace {

int g_rows = kRows;

// The autosave would write a copy in the background between commands and blur their figures;
// its own cost is measured in bench_undo.
constexpr int kNoAutosave = 24 * 3600 * 1000;

// Answers every question with Yes, as a user would at once; before that the window paints what
// it shows behind the box, as a modal box's own event loop lets it. The moment the last box came
// up splits a command that asks, such as the age factors, into its two waits.
class AnsweringUi : public SilentUi {
public:
    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override {
        QApplication::processEvents();
        asked = std::chrono::steady_clock::now();
        return SilentUi::MessageBox(text, title, buttons, icon);
    }
    std::chrono::steady_clock::time_point asked;
};

// One window with the competition opened, shared by every benchmark.
struct Session {
    Session() {
        ResultTable table;
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        table.LockUpdate(true);
        for (int i = 1; i <= g_rows; ++i) {
            table.AddRow(CompetitorRow(i));
        }
        file = dir.filePath(u"Wettkampf.csv"_s);
        SaveTable(table, file, SaveFormat::Csv);
        window = std::make_unique<frmVastrel>(
            WindowServices{PlacesIn(dir.path()), &ui, nullptr, &remembered, kNoAutosave});
        window->resize(1366, 768);
        window->show();
        QApplication::processEvents();
        window->OpenAtStart(file);
        QApplication::processEvents();
    }
    void Reopen() {
        window->OpenAtStart(file);
        QApplication::processEvents();
    }
    void Choose(const char16_t* item) {
        window->Toolbar().Item(QString::fromUtf16(item))->trigger();
        QApplication::processEvents();
    }

    QTemporaryDir dir;
    QString file;
    AnsweringUi ui;
    MemorySettings remembered;
    std::unique_ptr<frmVastrel> window;
};

// Made on first use; ended before the application, which its window needs.
std::unique_ptr<Session> g_session;

Session& TheSession() {
    if (!g_session) {
        g_session = std::make_unique<Session>();
    }
    return *g_session;
}

void BM_Open(benchmark::State& state) {
    Session& s = TheSession();
    for (auto _ : state) {
        s.window->OpenAtStart(s.file);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

// 0: on the competition as just opened, every row scored for the first time and kept for undo;
// 1: again on the scored competition, where every row comes out as it was.
void BM_Recalculation(benchmark::State& state) {
    Session& s = TheSession();
    for (auto _ : state) {
        if (state.range(0) == 0) {
            state.PauseTiming();
            s.Reopen();
            state.ResumeTiming();
        }
        s.Choose(u"btnBePunkte");
    }
}
BENCHMARK(BM_Recalculation)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The same two cases; on the opened competition most factors change. Besides the whole command,
// its two waits: until the question "Komplette Neuberechnung der Punkte?" is shown, and from
// the answer Yes to the end of the recalculation (counters, mean milliseconds).
void BM_AgeFactorsAndRecalculation(benchmark::State& state) {
    Session& s = TheSession();
    double untilQuestion = 0;
    double afterAnswer = 0;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            state.PauseTiming();
            s.Reopen();
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        s.Choose(u"btnBeAfMit");
        const auto end = std::chrono::steady_clock::now();
        untilQuestion += std::chrono::duration<double, std::milli>(s.ui.asked - start).count();
        afterAnswer += std::chrono::duration<double, std::milli>(end - s.ui.asked).count();
    }
    state.counters["until_question_ms"] = benchmark::Counter(untilQuestion / state.iterations());
    state.counters["after_yes_ms"] = benchmark::Counter(afterAnswer / state.iterations());
}
BENCHMARK(BM_AgeFactorsAndRecalculation)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// Each sort starts from another order, as when a user chooses it.
void BM_Sort(benchmark::State& state) {
    Session& s = TheSession();
    const char16_t* items[] = {u"btnSort1", u"btnSort2", u"btnSort3", u"btnSort4", u"btnSort5", u"btnSort6"};
    const char16_t* item = items[state.range(0)];
    const char16_t* before = items[(state.range(0) + 3) % 6];
    for (auto _ : state) {
        state.PauseTiming();
        s.Choose(before);
        state.ResumeTiming();
        s.Choose(item);
    }
}
BENCHMARK(BM_Sort)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_DayView(benchmark::State& state) {
    Session& s = TheSession();
    const char16_t* items[] = {u"btnAnz1Tag", u"btnAnz2Tag", u"btnAnz3Tag", u"btnAnz4Tag", u"btnAnzAlles"};
    for (auto _ : state) {
        s.Choose(items[state.range(0)]);
        state.PauseTiming();
        s.Choose(u"btnAnzAlles");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DayView)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A click on a column header: "Name Vorname", then "Gesamt", each click turning the order.
void BM_HeaderSort(benchmark::State& state) {
    Session& s = TheSession();
    QHeaderView* header = s.window->Grid().View()->horizontalHeader();
    const int section = s.window->Table().ColumnNumber(state.range(0) == 0 ? u"Name Vorname" : u"Gesamt") - 1;
    for (auto _ : state) {
        Q_EMIT header->sectionClicked(section);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_HeaderSort)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

void BM_SelectAll(benchmark::State& state) {
    Session& s = TheSession();
    QTableView* view = s.window->Grid().View();
    for (auto _ : state) {
        view->selectAll();
        QApplication::processEvents();
        state.PauseTiming();
        view->clearSelection();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond);

// Scrolling: one page down (from the top again at the end), painted; smooth means a few ms.
void BM_ScrollPage(benchmark::State& state) {
    Session& s = TheSession();
    QScrollBar* bar = s.window->Grid().View()->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep() > bar->maximum() ? 0 : bar->value() + bar->pageStep());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMillisecond);

void BM_Search(benchmark::State& state) {
    Session& s = TheSession();
    QLineEdit* field = s.window->Grid().SearchField();
    field->setText(NameNumber(g_rows / 2)); // the name of a row half way down
    for (auto _ : state) {
        Q_EMIT field->returnPressed();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Search)->Unit(benchmark::kMillisecond);

void BM_CellEdit(benchmark::State& state) {
    Session& s = TheSession();
    QAbstractItemModel* model = s.window->Grid().View()->model();
    const QModelIndex cell = model->index(100, s.window->Table().ColumnNumber(u"1500m") - 1);
    int i = 0;
    for (auto _ : state) {
        model->setData(cell, u"4:%1.3"_s.arg(10 + (++i % 40)));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CellEdit)->Unit(benchmark::kMillisecond);

void BM_Delete1000Rows(benchmark::State& state) {
    Session& s = TheSession();
    TableView& view = s.window->View();
    for (auto _ : state) {
        state.PauseTiming();
        view.ClearSelection();
        for (int row = 1; row <= 1000; ++row) {
            view.SetRowSelected(row * 7, true);
        }
        state.ResumeTiming();
        s.Choose(u"btnBeLö");
        state.PauseTiming();
        s.Choose(u"btnRückgängig"); // the rows come back for the next round
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Delete1000Rows)->Unit(benchmark::kMillisecond);

// "VmRSS" or "VmHWM" of this process in megabytes.
double MemoryMegabytes(const char* field) {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<qsizetype>(std::strlen(field)) + 1)
                       .trimmed()
                       .split(' ')
                       .front()
                       .toDouble() /
                   1024.0;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    bool memory = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0) {
            g_rows = std::atoi(argv[i] + 7);
        }
        memory = memory || std::strcmp(argv[i], "--memory") == 0;
    }
    // Offscreen on a small laptop's screen, where the window opens maximized (1366 x 768).
    QTemporaryFile screens;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && screens.open()) {
        screens.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    ::benchmark::AddCustomContext(
        "screen", QString(u"%1 x %2"_s).arg(screen.width()).arg(screen.height()).toStdString());
    if (memory) {
        const double empty = MemoryMegabytes("VmRSS:");
        Session& s = TheSession();
        s.Choose(u"btnBePunkte");
        std::printf(
            "rows %d: resident %.1f MB (peak %.1f MB; %.1f MB before the window), table %.0f bytes a row\n",
            g_rows, MemoryMegabytes("VmRSS:"), MemoryMegabytes("VmHWM:"), empty,
            static_cast<double>(s.window->Table().RowBytes()) / g_rows);
        g_session.reset();
        return 0;
    }
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    g_session.reset();
    return 0;
}
