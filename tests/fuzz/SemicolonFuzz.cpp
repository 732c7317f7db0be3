// Opens any bytes as a semicolon text file, scores every row, saves the table as semicolon
// text and opens that again: every cell must come back as it was, whatever the bytes held.
#include "FuzzSupport.h"
#include "formats/SemicolonText.h"
#include "formats/TextImport.h"
#include "ports/SilentUi.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"
#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

// A cell with a line break and a whole row's worth of separators reads back as a stray quote:
// the one text the semicolon format cannot tell from a damaged file.
bool Ambiguous(const QString& cell) {
    return (cell.contains(u'\r') || cell.contains(u'\n')) && cell.count(u';') + cell.count(u'\t') >= 32;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResultTable table;
    TableView view{table};
    SilentUi ui;
    Scorer scorer(table, ui);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!ImportCsvBytes(table, bytes, u"fuzz.csv"_s, fuzz::Width)) {
        fuzz::Broken("bytes in memory always read");
    }
    RecalculateAll(view, scorer, ui);
    QList<int> columns;
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        columns << c;
    }
    ResultTable back;
    ImportCsvBytes(back, EncodeTextFile(SemicolonText(table, columns, u";"_s)), u"back.csv"_s, fuzz::Width);
    if (back.RowCount() != table.RowCount()) {
        for (int r = 1; r <= table.RowCount(); ++r) {
            for (int c = 1; c <= table.ColumnCount(); ++c) {
                if (Ambiguous(table.CellText(r, c))) {
                    return 0;
                }
            }
        }
        fuzz::Broken("a saved table opens with the same rows");
    }
    for (int r = 1; r <= table.RowCount(); ++r) {
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            if (back.CellText(r, c) != table.CellText(r, c) && !Ambiguous(table.CellText(r, c))) {
                fuzz::Broken("a saved cell opens unchanged", table.CellText(r, c));
            }
        }
    }
    return 0;
}
