#include "formats/FileFormats.h"

#include "formats/FilFormat.h"
#include "formats/SemicolonText.h"
#include "formats/XlsWorkbook.h"
#include "formats/XlsxWorkbook.h"
#include "system/FileErrors.h"
#include "system/FileHelpers.h"
#include "table/ResultTable.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QString Filter(std::initializer_list<SaveFormat> formats) {
    QString filter;
    for (SaveFormat format : formats) {
        const FileFormatEntry& entry = FileFormats()[static_cast<std::size_t>(format) - 1];
        filter += u"%1 (*.%2)|*.%2|"_s.arg(QString::fromUtf16(entry.description),
                                           QString::fromUtf16(entry.extension));
    }
    return filter;
}

// The Excel 97 sheet's limits: more rows, or a longer cell, would leave a broken file.
bool FitsXls(const ResultTable& table, const QString& path, QString* errorMessage) {
    const auto fail = [&](const QString& reason) {
        if (errorMessage) {
            *errorMessage = WriteFailureMessage(path, reason);
        }
        return false;
    };
    if (table.RowCount() > kMaxXlsRows) {
        return fail(u"Ein Excel-97-Tabellenblatt fasst höchstens %1 Datenzeilen."_s.arg(kMaxXlsRows));
    }
    for (int row = 1; row <= table.RowCount(); ++row) {
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            if (table.CellView(row, c).size() > kMaxXlsCellLength) {
                return fail(
                    u"Die Zelle \"%1\" in Zeile %2 hat %3 Zeichen; eine Excel-97-Zelle fasst "
                    u"höchstens %4. Bitte kürzen Sie sie oder speichern Sie als csv- oder fil-Datei."_s
                        .arg(table.Key(c))
                        .arg(row)
                        .arg(table.CellView(row, c).size())
                        .arg(kMaxXlsCellLength));
            }
        }
    }
    return true;
}

} // namespace

const std::array<FileFormatEntry, 4>& FileFormats() {
    // The workbook of today's spreadsheets after the three formats organisers have always had.
    static const std::array<FileFormatEntry, 4> formats = {{
        {SaveFormat::Fil, u"fil", u"fil-Datei"},
        {SaveFormat::Csv, u"csv", u"csv-Datei"},
        {SaveFormat::Xls, u"xls", u"Excel-Datei"},
        {SaveFormat::Xlsx, u"xlsx", u"xlsx-Datei"},
    }};
    return formats;
}

QString ExtensionOf(SaveFormat format) {
    return format == SaveFormat::None
               ? QString()
               : QString::fromUtf16(FileFormats()[static_cast<std::size_t>(format) - 1].extension);
}

SaveFormat FormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    for (const FileFormatEntry& entry : FileFormats()) {
        if (suffix.compare(QStringView(entry.extension), Qt::CaseInsensitive) == 0) {
            return entry.format;
        }
    }
    return SaveFormat::None;
}

QString SaveFilter() {
    return Filter({SaveFormat::Fil, SaveFormat::Csv, SaveFormat::Xls, SaveFormat::Xlsx});
}

QString OpenFilter() {
    return Filter({SaveFormat::Csv, SaveFormat::Fil});
}

bool SaveTable(const ResultTable& table, const QString& path, SaveFormat format, QString* errorMessage) {
    QList<int> columns;
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        columns << c;
    }
    switch (format) {
    case SaveFormat::Fil:
        return SaveFil(table, path, errorMessage);
    case SaveFormat::Csv:
        return WriteFileAtomically(
            path, [&](QIODevice& file) { return WriteSemicolonText(table, columns, u";"_s, file); },
            errorMessage);
    case SaveFormat::Xls:
        return FitsXls(table, path, errorMessage) &&
               WriteFileAtomically(path, BuildXlsWorkbook(table, columns), errorMessage);
    case SaveFormat::Xlsx:
        return WriteXlsxWorkbook(table, columns, path, errorMessage);
    case SaveFormat::None:
        break;
    }
    if (errorMessage) {
        *errorMessage = WriteFailureMessage(path, u"Dieses Dateiformat wird nicht unterstützt."_s);
    }
    return false;
}

} // namespace vastrel
