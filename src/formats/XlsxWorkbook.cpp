#include "formats/XlsxWorkbook.h"

#include "formats/XlsWorkbook.h"
#include "system/FileErrors.h"
#include "system/FileHelpers.h"
#include "system/NumberText.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// "0", "0.0", "0.00", …: a number shows the decimals its cell had.
class NumberFormats {
public:
    explicit NumberFormats(lxw_workbook* workbook) {
        for (std::size_t decimals = 0; decimals < formats_.size(); ++decimals) {
            formats_[decimals] = workbook_add_format(workbook);
            const QByteArray code =
                decimals == 0 ? QByteArray("0") : "0." + QByteArray(static_cast<int>(decimals), '0');
            format_set_num_format(formats_[decimals], code.constData());
        }
    }
    lxw_format* For(int decimals) const { return formats_[static_cast<std::size_t>(decimals)]; }

private:
    std::array<lxw_format*, 11> formats_{};
};

// An age factor as the program writes it: a number with four decimals ("0.7887", "1.0000").
bool IsFourDecimalFactor(QStringView text) {
    const qsizetype point = text.indexOf(u'.');
    return point >= 1 && text.size() - point - 1 == 4 && ConvertStrict(text).has_value() &&
           !text.startsWith(u' ') && !text.endsWith(u' ');
}

// The text as a cell of the workbook holds it. The format writes a control character as
// "_x000D_"; a text that reads so itself gets its underscore escaped ("_x005F_"), or a reader
// would take it for the character.
QByteArray CellText(QStringView text) {
    if (!text.contains(u"_x")) {
        return text.toUtf8();
    }
    QString escaped;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QStringView rest = text.mid(i);
        const bool looksEscaped = rest.size() >= 7 && rest.startsWith(u"_x") && rest[6] == u'_' &&
                                  std::all_of(rest.begin() + 2, rest.begin() + 6, [](QChar c) {
                                      return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f');
                                  });
        escaped += looksEscaped ? u"_x005F"_s + text[i] : QString(text[i]);
    }
    return escaped.toUtf8();
}

} // namespace

bool WriteXlsxWorkbook(const ResultTable& table, const QList<int>& columns, const QString& path,
                       QString* errorMessage) {
    const auto fail = [&](const QString& reason) {
        if (errorMessage) {
            *errorMessage = WriteFailureMessage(path, reason);
        }
        return false;
    };
    if (table.RowCount() > kMaxXlsxRows) {
        return fail(u"Ein Excel-Tabellenblatt fasst höchstens %1 Datenzeilen."_s.arg(kMaxXlsxRows));
    }
    for (int row = 1; row <= table.RowCount(); ++row) {
        for (int c : columns) {
            if (table.CellView(row, c).size() > kMaxXlsCellLength) {
                return fail(
                    u"Die Zelle \"%1\" in Zeile %2 hat mehr als %3 Zeichen, die eine Excel-Zelle fasst."_s
                        .arg(table.Key(c))
                        .arg(row)
                        .arg(kMaxXlsCellLength));
            }
        }
    }
    // The library writes a file of its own, beside the target (on its disk, and found there when a
    // save was killed); it becomes the target whole, through the usual save.
    const QString folder = QFileInfo(path).absolutePath();
    RemoveStaleTemporaries(folder, u"xlsx"_s);
    QTemporaryFile temporary(TemporaryBeside(folder, u"xlsx"_s));
    if (!temporary.open()) {
        return fail(u"Es konnte keine Zwischendatei angelegt werden."_s);
    }
    temporary.close();
    const QByteArray temporaryName = QFile::encodeName(temporary.fileName());
    lxw_workbook_options options = {LXW_TRUE, nullptr, LXW_TRUE}; // rows stream out; big tables need zip64
    lxw_workbook* workbook = workbook_new_opt(temporaryName.constData(), &options);
    if (!workbook) {
        return fail(u"Die Arbeitsmappe konnte nicht angelegt werden."_s);
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* header = workbook_add_format(workbook);
    format_set_bold(header);
    const NumberFormats numbers(workbook);
    const int factorColumn = table.ColumnNumber(kAgeFactorKey);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const auto col = static_cast<lxw_col_t>(i);
        // Twips to the width of characters in the default font (about 105 twips each).
        worksheet_set_column(sheet, col, col, std::max(4.0, table.Width(columns.at(i)) / 105.0), nullptr);
        worksheet_write_string(sheet, 0, col, CellText(table.Key(columns.at(i))).constData(), header);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (int row = 1; row <= table.RowCount(); ++row) {
        const auto r = static_cast<lxw_row_t>(row);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const int c = columns.at(i);
            const QStringView text = table.CellView(row, c);
            if (text.isEmpty()) {
                continue;
            }
            const auto col = static_cast<lxw_col_t>(i);
            if (table.ColumnAt(c).Kind() == ColumnKind::Number) {
                if (c == factorColumn && IsFourDecimalFactor(text)) {
                    worksheet_write_number(sheet, r, col, *ConvertStrict(text), numbers.For(4));
                    continue;
                }
                if (const auto number = AsPlainNumber(text)) {
                    worksheet_write_number(sheet, r, col, number->value, numbers.For(number->decimals));
                    continue;
                }
            }
            if (worksheet_write_string(sheet, r, col, CellText(text).constData(), nullptr) != LXW_NO_ERROR) {
                workbook_close(workbook);
                return fail(u"Die Zelle \"%1\" in Zeile %2 lässt sich nicht in eine Excel-Zelle schreiben."_s
                                .arg(table.Key(c))
                                .arg(row));
            }
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR) {
        return fail(u"Die Arbeitsmappe konnte nicht geschrieben werden."_s);
    }
    QFile written(temporary.fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        return fail(u"Die Zwischendatei ließ sich nicht lesen."_s);
    }
    return WriteFileAtomically(path, written.readAll(), errorMessage);
}

} // namespace vastrel
