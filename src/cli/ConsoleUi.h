#pragma once

#include "ports/SilentUi.h"

#include <QTextStream>

namespace vastrel {

// The Ui of the command-line tool: every message box becomes one line "TITLE: TEXT" on the
// error stream (line breaks inside the text as " / ") and is answered with OK or Yes.
class ConsoleUi : public SilentUi {
public:
    explicit ConsoleUi(QTextStream& errors) : errors_(errors) {}

    int MessageCount() const { return messages_; }

    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;

private:
    QTextStream& errors_;
    int messages_ = 0;
};

} // namespace vastrel
