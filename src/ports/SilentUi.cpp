#include "ports/SilentUi.h"

namespace vastrel {

MessageAnswer SilentUi::MessageBox(const QString&, const QString&, MessageButtons buttons, MessageIcon) {
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
}

std::optional<QString> SilentUi::InputBox(const QString&, const QString&, const QString& defaultText) {
    return defaultText;
}

} // namespace vastrel
