// Opens any bytes as the program's own format: a damaged or foreign file is refused and leaves
// the table as it was; one that opens holds the 33 columns.
#include "FuzzSupport.h"
#include "formats/FilFormat.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace vastrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QTemporaryFile file;
    if (!file.open()) {
        return 0;
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    ResultTable table;
    DefineColumns(table, fuzz::Width);
    table.AddRow(u"unverändert"_s);
    if (LoadFil(table, file.fileName())) {
        if (table.ColumnCount() != kResultColumnCount) {
            fuzz::Broken("an opened file holds the 33 columns");
        }
    } else if (table.RowCount() != 1 || table.CellText(1, 1) != u"unverändert") {
        fuzz::Broken("a refused file leaves the table as it was");
    }
    return 0;
}
