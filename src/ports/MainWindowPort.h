#pragma once

#include <QString>

namespace vastrel {

// What the commands need of the main window itself.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;
    // The About box, modal.
    virtual void ShowAbout() = 0;
    // Ends the program at once, without asking again.
    virtual void QuitProgram() = 0;
    // Opens the table's context menu where the user pointed; its items that change rows are
    // disabled where `changesRefused` says why.
    virtual void PopUpRowMenu(const QString& changesRefused) = 0;
};

} // namespace vastrel
