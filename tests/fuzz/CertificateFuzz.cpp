// Fills any template with any cells for every certificate scope: no crash, and a cell's text
// never reaches the certificate unescaped.
#include "FuzzSupport.h"
#include "formats/CertificateTemplate.h"
#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace vastrel;

// Input: the template's bytes, a NUL, then the row's cells as UTF-8 joined by TAB.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = bytes.indexOf('\0');
    const QString document = FromWindows1252(split < 0 ? bytes : bytes.left(split));
    ResultTable table;
    DefineColumns(table, fuzz::Width);
    table.AddRow(split < 0 ? QString() : QString::fromUtf8(bytes.mid(split + 1)));
    for (CertificateScope scope :
         {CertificateScope::AllDays, CertificateScope::Day1, CertificateScope::Day2, CertificateScope::Day3,
          CertificateScope::Day4, CertificateScope::NameOnly}) {
        const QString filled = FillCertificate(document, table, 1, scope);
        if (!document.contains(u'#') && filled != document) {
            fuzz::Broken("a template without placeholders stays as it is");
        }
        for (QChar c : filled) {
            if (c.unicode() >= 0x80 && !document.contains(c)) {
                fuzz::Broken("cell text reaches the certificate escaped");
            }
        }
    }
    return 0;
}
