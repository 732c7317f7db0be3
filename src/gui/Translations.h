#pragma once

class QCoreApplication;

namespace vastrel {

// Qt's own German texts for the standard dialogs (file dialogs, input boxes), where installed.
void InstallGermanQtTranslations(QCoreApplication& app);

} // namespace vastrel
