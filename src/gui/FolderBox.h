#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace vastrel {

// The input box for a folder, with a button that chooses one from the folders: the typed text
// stays editable, so a folder not made yet can still be named. Nothing when cancelled.
std::optional<QString> RunFolderBox(QWidget* parent, const QString& prompt, const QString& title,
                                    const QString& defaultFolder);

} // namespace vastrel
