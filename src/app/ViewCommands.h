#pragma once

#include <QString>

namespace vastrel {

class ResultTable;
class TableView;
class Toolbar;
class Ui;
struct MainWindowState;

// "Anzeige": the columns of one day ("btnAnz1Tag" … "btnAnz4Tag") or all of them ("btnAnzAlles"),
// the day named in the title line.
void ShowDayView(ResultTable& table, MainWindowState& state, Ui& ui, const QString& itemKey);

// The title line of the view the state names: the event's name, with the day shown.
QString CaptionOfView(const MainWindowState& state);

// "Sortierung": one of the six fixed orders; the same order chosen again reverses it.
void SortTable(TableView& view, Ui& ui, const QString& itemKey);

// "Kurzdruck": whether the report leaves out the personal columns.
void ToggleShortPrint(Toolbar& toolbar, MainWindowState& state);

} // namespace vastrel
