#pragma once

#include "ports/MainWindowPort.h"

namespace vastrel::testing {

// A main window that is not there: its dialogs and menus go nowhere.
struct NoWindow : MainWindowPort {
    void ShowAbout() override {}
    void QuitProgram() override {}
    void PopUpRowMenu(const QString&) override {}
};

} // namespace vastrel::testing
