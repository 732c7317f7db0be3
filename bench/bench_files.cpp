// The file and whole-table commands on a competition of 32,767 rows: text import, full
// recalculation, the final sort, the text export, saving and opening the own format; the memory the
// loaded table takes; a station's queue on disk, for one typed cell and for a change of every row;
// and a timing system's file of 10 MB.
#include "BenchData.h"
#include "app/StationCopy.h"
#include "app/StationQueue.h"
#include "app/TimeImport.h"
#include "formats/FilFormat.h"
#include "formats/FileFormats.h"
#include "formats/TextImport.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <fstream>
#include <string>

namespace {

using namespace vastrel;
using namespace vastrel::bench;

double Width(const QString& text) {
    return text.size() * 100.0;
}

// A scored competition written once as a text file, as a timing system or an earlier save
// would leave it.
class CompetitionFile {
public:
    CompetitionFile() {
        Competition c;
        c.Recalculate();
        path_ = dir_.filePath(u"wettkampf.csv"_s);
        SaveTable(c.table, path_, SaveFormat::Csv);
    }
    const QString& Path() const { return path_; }
    qint64 Bytes() const { return QFileInfo(path_).size(); }

private:
    QTemporaryDir dir_;
    QString path_;
};

const CompetitionFile& File() {
    static const CompetitionFile file;
    return file;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

void BM_ImportTextFile(benchmark::State& state) {
    SilentUi ui;
    ResultTable table;
    for (auto _ : state) {
        ImportCsvFile(table, File().Path(), Width);
    }
    state.counters["rows"] = table.RowCount();
    state.counters["MB"] = static_cast<double>(File().Bytes()) / 1e6;
}
BENCHMARK(BM_ImportTextFile)->Unit(benchmark::kMillisecond);

// A station keeps what it has not yet sent on disk, handed to the disk before the cell counts as
// entered: one typed cell, and a command over every row (the age factors).
void BM_QueueKeepsTypedCells(benchmark::State& state) {
    QTemporaryDir dir;
    StationQueue queue(dir.path(), u"vastrel@127.0.0.1:5432/vastrel"_s, 1, u"Ziel"_s);
    std::vector<QueuedChange> changes;
    for (int row = 1; row <= state.range(0); ++row) {
        changes.push_back(QueuedChange::OfCell(static_cast<RowId>(row), 0, 7, u"0.7887"_s, 3, false));
    }
    for (auto _ : state) {
        if (!queue.Append(changes, nullptr)) {
            state.SkipWithError("append failed");
        }
        state.PauseTiming();
        queue.Rewrite({}, nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QueueKeepsTypedCells)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(kRows);

// The copy a station keeps of the competition, written at the open and when the connection is
// lost, and read by a start without the server.
void BM_StationCopy(benchmark::State& state) {
    QTemporaryDir dir;
    StationCopy copy;
    copy.server = u"vastrel@127.0.0.1:5432/vastrel"_s;
    copy.station = u"Ziel"_s;
    copy.name = u"Lauf 2026"_s;
    {
        SilentUi ui;
        ResultTable table;
        ImportCsvFile(table, File().Path(), Width);
        copy.data = table.Data();
    }
    for (const Row& row : copy.data.rows) {
        copy.revisions.insert(row.id, std::vector<int>(copy.data.columns.size(), 1));
    }
    const QString path = StationFilePath(dir.path(), copy.server, 0, copy.station, u".copy"_s);
    WriteStationCopy(dir.path(), copy, nullptr);
    for (auto _ : state) {
        if (state.range(0) == 0 ? !WriteStationCopy(dir.path(), copy, nullptr) : !ReadStationCopy(path)) {
            state.SkipWithError("copy failed");
        }
    }
}
BENCHMARK(BM_StationCopy)->Unit(benchmark::kMillisecond)->ArgName("read")->Arg(0)->Arg(1);

// A timing system's file of 10 MB (a list of 350,000 start numbers, one in ten of the competition's)
// read, matched to the rows and summed up for the window's question.
void BM_TimingFile10MB(benchmark::State& state) {
    QByteArray bytes = "Nr;Name;Zeit\n";
    for (int i = 1; bytes.size() < 10 * 1024 * 1024; ++i) {
        bytes += QStringLiteral("%1;%2;%3.%4\n")
                     .arg(i * 10)
                     .arg(NameNumber(i))
                     .arg(7 + i % 3)
                     .arg(i % 1000)
                     .toUtf8();
    }
    Competition c;
    for (auto _ : state) {
        const TimeImportPlan plan = PlanTimeImport(c.table, ReadTimingFile(bytes), u"60m"_s, {});
        benchmark::DoNotOptimize(TimeImportSummary(plan, 25));
    }
    state.counters["MB"] = bytes.size() / 1048576.0;
}
BENCHMARK(BM_TimingFile10MB)->Unit(benchmark::kMillisecond);

void BM_RecalculateAll(benchmark::State& state) {
    SilentUi ui;
    ResultTable table;
    TableView view(table);
    Scorer scorer(table, ui, &view);
    ImportCsvFile(table, File().Path(), Width);
    for (auto _ : state) {
        RecalculateAll(view, scorer, ui);
    }
}
BENCHMARK(BM_RecalculateAll)->Unit(benchmark::kMillisecond);

void BM_ExportTextFile(benchmark::State& state) {
    SilentUi ui;
    ResultTable table;
    ImportCsvFile(table, File().Path(), Width);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"export.csv"_s);
    for (auto _ : state) {
        SaveTable(table, path, SaveFormat::Csv);
    }
}
BENCHMARK(BM_ExportTextFile)->Unit(benchmark::kMillisecond);

void BM_ExportSpreadsheet(benchmark::State& state) {
    SilentUi ui;
    ResultTable table;
    ImportCsvFile(table, File().Path(), Width);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"export.xls"_s);
    for (auto _ : state) {
        SaveTable(table, path, SaveFormat::Xls);
    }
    state.counters["MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(BM_ExportSpreadsheet)->Unit(benchmark::kMillisecond);

void BM_SaveFil(benchmark::State& state) {
    SilentUi ui;
    ResultTable table;
    ImportCsvFile(table, File().Path(), Width);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"export.fil"_s);
    for (auto _ : state) {
        SaveFil(table, path);
    }
    state.counters["MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(BM_SaveFil)->Unit(benchmark::kMillisecond);

// Opening the own format costs about what importing the same table as text does.
void BM_LoadFil(benchmark::State& state) {
    SilentUi ui;
    ResultTable table;
    ImportCsvFile(table, File().Path(), Width);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"wettkampf.fil"_s);
    SaveFil(table, path);
    for (auto _ : state) {
        LoadFil(table, path);
    }
    state.counters["rows"] = table.RowCount();
}
BENCHMARK(BM_LoadFil)->Unit(benchmark::kMillisecond);

// Resident memory of the whole process with the imported table in it.
void BM_ResidentMemoryWithTableLoaded(benchmark::State& state) {
    File();
#ifdef __GLIBC__
    malloc_trim(0); // hand back what writing the file took, so only the loaded table counts
#endif
    for (auto _ : state) {
        state.PauseTiming();
        const long before = ResidentKilobytes();
#ifdef __GLIBC__
        const auto heapBefore = mallinfo2().uordblks;
#endif
        state.ResumeTiming();
        SilentUi ui;
        ResultTable table;
        ImportCsvFile(table, File().Path(), Width);
        state.PauseTiming();
        state.counters["process_MB"] = static_cast<double>(ResidentKilobytes()) / 1024.0;
        state.counters["table_MB"] = static_cast<double>(ResidentKilobytes() - before) / 1024.0;
#ifdef __GLIBC__
        state.counters["heap_in_use_MB"] = static_cast<double>(mallinfo2().uordblks - heapBefore) / 1048576.0;
#endif
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ResidentMemoryWithTableLoaded)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// The shared competition file is written before the first benchmark starts its clock.
int main(int argc, char** argv) {
    ::benchmark::Initialize(&argc, argv);
    File();
    ::benchmark::RunSpecifiedBenchmarks();
    return 0;
}
