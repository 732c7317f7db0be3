#pragma once

#include <QString>

namespace vastrel {

class TableView;
class Ui;
struct MainWindowState;

// "Druckvorschau": writes the selected rows to "report/report.htm" in the program's folder and
// presents it. With "Kurzdruck" the six personal columns are left out; afterwards every column
// has the visibility it had before.
void PrintReport(TableView& view, Ui& ui, const MainWindowState& state, const QString& reportFolder);

// The report page of the selected rows as the print menu writes it: the short report without the
// personal columns, titled by the event and the view, with the places of the points it shows.
// The table looks as before afterwards.
QString BuildReportPage(TableView& view, const MainWindowState& state);

// Deletes the files the last report left in the report folder.
void CleanReportFolder(const QString& reportFolder);

} // namespace vastrel
