#include "app/DecimalSeparatorCheck.h"

#include "ports/Ui.h"
#include "system/DecimalSeparator.h"

using namespace Qt::StringLiterals;

namespace vastrel {

void CheckDecimalSeparator(RegionalSettings& settings, Ui& ui) {
    if (settings.StandardNumberText(1.1) != u"1,1") {
        return;
    }
    SetNumberSeparators(settings, u"."_s, u" "_s, true);
    ui.MessageBox(u"Das Dezimaltrennzeichen wurde von 'Komma' nach 'Punkt' geändert!   "_s,
                  u"Pardo-Viewer Ländereinstellung - Dezimaltrennzeichen"_s, MessageButtons::Ok,
                  MessageIcon::Exclamation);
}

} // namespace vastrel
