#include "scoring/AgeFactors.h"

#include "ports/Ui.h"
#include "scoring/Progress.h"
#include "system/NumberText.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <array>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

struct AgeClass {
    int from;
    int to;
    const char16_t* women;
    const char16_t* men;
};

constexpr std::array<AgeClass, 8> kAgeClasses = {{
    {2, 59, u"1.0000", u"1.0000"},
    {60, 64, u"0.7887", u"0.8210"},
    {65, 69, u"0.7425", u"0.7857"},
    {70, 74, u"0.6888", u"0.7465"},
    {75, 79, u"0.6262", u"0.6992"},
    {80, 84, u"0.5510", u"0.6404"},
    {85, 89, u"0.4995", u"0.5657"},
    {90, 94, u"0.3599", u"0.4701"},
}};

constexpr QStringView kNoAgeFactor = u"1.0000";

} // namespace

std::optional<QStringView> AgeFactorFor(int age, bool women) {
    for (const AgeClass& c : kAgeClasses) {
        if (age >= c.from && age <= c.to) {
            return QStringView(women ? c.women : c.men);
        }
    }
    return std::nullopt;
}

void TidyAgeFactorEntry(QString& text) {
    text = text.trimmed();
    text.replace(u',', u'.');
}

void AssignAgeFactors(TableView& view, Ui& ui, bool withAgeClasses) {
    ResultTable& table = view.Table();
    const int name = table.ColumnNumber(u"Name Vorname");
    const int born = table.ColumnNumber(u"geb.");
    const int runDate = table.ColumnNumber(u"Datum");
    const int sex = table.ColumnNumber(u"mw");
    const int factor = table.ColumnNumber(kAgeFactorKey);

    ui.SetBusy(true);
    table.LockUpdate(true);
    // Rows of one competitor next to each other; "Alter" has no column and changes nothing.
    table.SortBy(u"Name Vorname,Alter"_s, SortDirection::Ascending);
    const int rowCount = table.RowCount();
    ProgressDisplay progress(ui);
    for (int i = 1; i <= rowCount; ++i) {
        progress.Show(i, table.RowCount());
        if (i % 10 == 0) {
            ui.ProcessPendingEvents();
        }
        double yearOfBirth = ReadLenient(table.CellView(i, born));
        if (i >= 2 && yearOfBirth < 1900 && table.CellView(i, name) == table.CellView(i - 1, name)) {
            table.SetCellText(i, born, table.CellView(i - 1, born)); // row i - 1 stays as it is
            yearOfBirth = ReadLenient(table.CellView(i, born));
        }
        if (!withAgeClasses || !(yearOfBirth > 1900)) {
            table.SetCellText(i, factor, kNoAgeFactor);
            continue;
        }
        const double age = std::nearbyint(ReadLenient(table.CellView(i, runDate)) - yearOfBirth);
        if (!(std::fabs(age) <= std::numeric_limits<int>::max())) {
            // The age does not fit a whole number: the run ends here, as any failure does.
            ui.MessageBox(u"Überlauf"_s, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::None);
            ui.SetBusy(false);
            table.LockUpdate(false);
            table.Refresh();
            return;
        }
        if (const auto ageFactor = AgeFactorFor(static_cast<int>(age), table.CellView(i, sex) == u"w")) {
            table.SetCellText(i, factor, *ageFactor);
        }
    }
    table.SortBy(u"Lauf,Gesamt"_s, SortDirection::Descending);
    table.LockUpdate(false);
    table.Refresh();
    view.SetCurrentRow(1);
    ui.SetBusy(false);
}

} // namespace vastrel
