#pragma once

#include <QString>

namespace vastrel {

class ResultTable;
class Ui;
struct MainWindowState;

// "Druckvorschau": writes the selected rows to "report/report.htm" in the program's folder and
// presents it. With "Kurzdruck" the six personal columns are left out; afterwards every column
// has the visibility it had before.
void PrintReport(ResultTable& table, Ui& ui, const MainWindowState& state, const QString& reportFolder);

// Deletes the files the last report left in the report folder.
void CleanReportFolder(const QString& reportFolder);

} // namespace vastrel
