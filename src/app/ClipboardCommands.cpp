#include "app/ClipboardCommands.h"

#include "app/GridCommands.h"
#include "ports/Ui.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The screen's Ui with its message boxes kept back: a paste of a hundred cells says once what
// went wrong, not in a hundred boxes.
class CollectingUi : public Ui {
public:
    explicit CollectingUi(Ui& ui) : ui_(ui) {}
    MessageAnswer MessageBox(const QString& text, const QString&, MessageButtons buttons,
                             MessageIcon) override {
        messages << text;
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    std::optional<QString> InputBox(const QString& p, const QString& t, const QString& d) override {
        return ui_.InputBox(p, t, d);
    }
    FileDialogResult OpenFileDialog(const FileDialogRequest& r) override { return ui_.OpenFileDialog(r); }
    FileDialogResult SaveFileDialog(const FileDialogRequest& r) override { return ui_.SaveFileDialog(r); }
    void SetStatusText(StatusPanel panel, const QString& text) override { ui_.SetStatusText(panel, text); }
    void SetBusy(bool busy) override { ui_.SetBusy(busy); }
    void ProcessPendingEvents() override { ui_.ProcessPendingEvents(); }
    double TextWidthTwips(const QString& text) override { return ui_.TextWidthTwips(text); }
    void ShowReport(const QString& path) override { ui_.ShowReport(path); }

    QStringList messages;

private:
    Ui& ui_;
};

QString Counted(qsizetype count, const QString& one, const QString& many) {
    return u"%1 %2"_s.arg(count).arg(count == 1 ? one : many);
}

bool NeedsQuotes(const QString& text) {
    return text.contains(u'\t') || text.contains(u'\n') || text.contains(u'\r') || text.startsWith(u'"');
}

} // namespace

std::vector<QStringList> ClipboardCells(const QString& text) {
    const QChar separator = text.contains(u'\t') || !text.contains(u';') ? u'\t' : u';';
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == separator) {
            row << std::exchange(field, QString());
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                ++i;
            }
            row << std::exchange(field, QString());
            rows.push_back(std::exchange(row, QStringList()));
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) {
        row << field; // the last line without its line break
        rows.push_back(row);
    }
    return rows;
}

QString CopiedCells(const TableView& view, int row, const QList<int>& columns) {
    const ResultTable& table = view.Table();
    QStringList cells;
    for (int c : columns) {
        const QString cell = table.CellText(row, c);
        cells << (NeedsQuotes(cell) ? u'"' + QString(cell).replace(u"\""_s, u"\"\""_s) + u'"' : cell);
    }
    return cells.join(u'\t') + u'\n';
}

QString CopiedRows(const TableView& view) {
    const ResultTable& table = view.Table();
    QList<int> visible;
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        if (table.Visible(c)) {
            visible << c;
        }
    }
    QString text;
    for (int r = 1; r <= table.RowCount(); ++r) {
        if (view.RowSelected(r)) {
            text += CopiedCells(view, r, visible);
        }
    }
    return text;
}

void PasteCells(TableView& view, Scorer& scorer, Ui& ui, int row, int column, const QString& text) {
    ResultTable& table = view.Table();
    std::vector<QStringList> cells = ClipboardCells(text);
    if (cells.empty() || row < 1 || row > table.RowCount() || column < 1 || column > table.ColumnCount()) {
        return;
    }
    QList<int> targets; // the visible columns from the cursor on, left to right
    for (int c = column; c <= table.ColumnCount(); ++c) {
        if (table.Visible(c)) {
            targets << c;
        }
    }
    const int beyond = row + static_cast<int>(cells.size()) - 1 - table.RowCount();
    if (beyond > 0) {
        const MessageAnswer answer = ui.MessageBox(
            u"Was eingefügt wird, reicht %1 über das Ende der Tabelle hinaus. Sollen %2 angefügt werden?"
            u"\r\n\r\nBei Nein wird nur bis zur letzten Zeile eingefügt."_s.arg(
                Counted(beyond, u"Zeile"_s, u"Zeilen"_s), Counted(beyond, u"neue Zeile"_s, u"neue Zeilen"_s)),
            u"Einfügen"_s, MessageButtons::YesNoCancel, MessageIcon::Question);
        if (answer == MessageAnswer::Cancel) {
            return;
        }
        if (answer == MessageAnswer::Yes) {
            const int current = view.CurrentRow();
            for (int i = 0; i < beyond; ++i) {
                AppendEmptyRow(table, view);
            }
            view.SetCurrentRow(current);
        } else {
            cells.resize(static_cast<std::size_t>(table.RowCount() - row + 1));
        }
    }
    CollectingUi collecting(ui);
    QStringList problems;
    QStringList computed;
    int written = 0;
    int pastTheEnd = 0;
    int leftOut = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int r = row + static_cast<int>(i);
        for (qsizetype j = 0; j < cells[i].size(); ++j) {
            QString value = cells[i].at(j);
            if (j >= targets.size()) {
                pastTheEnd += value.isEmpty() ? 0 : 1; // an empty one loses nothing
                continue;
            }
            const int c = targets.at(j);
            const QString key = table.Key(c);
            if (!TakesTypedText(table, r, c)) {
                if (value.isEmpty()) {
                    continue;
                }
                ++leftOut;
                if (!computed.contains(key)) {
                    computed << key;
                }
                continue;
            }
            if (!value.isEmpty()) { // an empty cell of the block empties the cell: no form to check
                ValidateCellEdit(table, c, value, collecting);
            }
            for (const QString& message : std::exchange(collecting.messages, {})) {
                problems << u"Zeile %1, %2: %3"_s.arg(r).arg(key, message);
            }
            table.SetCellText(r, c, value);
            ++written;
        }
        AfterCellEdit(table, scorer, r);
        for (const QString& message : std::exchange(collecting.messages, {})) {
            problems << u"Zeile %1: %2"_s.arg(r).arg(message);
        }
    }
    QStringList lines{u"Eingefügt: %1 in %2."_s.arg(
        Counted(written, u"Wert"_s, u"Werte"_s), Counted(qsizetype(cells.size()), u"Zeile"_s, u"Zeilen"_s))};
    if (leftOut > 0) {
        lines << u"Nicht eingefügt: %1 in berechneten Spalten (%2)."_s.arg(
            Counted(leftOut, u"Wert"_s, u"Werte"_s), computed.join(u", "));
    }
    if (pastTheEnd > 0) {
        lines << u"Nicht eingefügt: %1 rechts der letzten Spalte."_s.arg(
            Counted(pastTheEnd, u"Wert"_s, u"Werte"_s));
    }
    if (!problems.isEmpty()) {
        constexpr qsizetype kListed = 10;
        lines << u"Nicht zur Eingabeform passend:"_s << problems.mid(0, kListed);
        if (problems.size() > kListed) {
            lines << u"… und %1 weitere."_s.arg(problems.size() - kListed);
        }
    }
    if (lines.size() == 1) {
        ui.SetStatusText(StatusPanel::Status, lines.first() + u"  "_s);
    } else {
        ui.MessageBox(lines.join(u"\r\n"_s), u"Einfügen"_s, MessageButtons::Ok, MessageIcon::Exclamation);
    }
}

} // namespace vastrel
