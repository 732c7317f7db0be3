#include "cli/ConsoleUi.h"

using namespace Qt::StringLiterals;

namespace vastrel {

MessageAnswer ConsoleUi::MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                                    MessageIcon icon) {
    ++messages_;
    QString oneLine = text;
    oneLine.replace(u"\r\n"_s, u" / "_s).replace(u'\r', u" / "_s).replace(u'\n', u" / "_s);
    errors_ << title << u": "_s << oneLine << Qt::endl;
    return SilentUi::MessageBox(text, title, buttons, icon);
}

} // namespace vastrel
