#include "app/DecimalSeparatorCheck.h"

#include "ports/Settings.h"
#include "ports/Ui.h"
#include "system/DecimalSeparator.h"

using namespace Qt::StringLiterals;

namespace vastrel {

void CheckDecimalSeparator(RegionalSettings& regional, Ui& ui, Settings& remembered) {
    if (regional.StandardNumberText(1.1) != u"1,1") {
        return;
    }
    SetNumberSeparators(regional, u"."_s, u" "_s, true);
    const QString noticeKey = u"notices/decimalSeparator"_s;
    if (remembered.Value(noticeKey) == u"shown") {
        return;
    }
    remembered.SetValue(noticeKey, u"shown"_s);
    ui.MessageBox(u"Das Dezimaltrennzeichen wurde von 'Komma' nach 'Punkt' geändert!   "_s,
                  u"Pardo-Viewer Ländereinstellung - Dezimaltrennzeichen"_s, MessageButtons::Ok,
                  MessageIcon::Exclamation);
}

} // namespace vastrel
