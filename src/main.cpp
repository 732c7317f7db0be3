#include "gui/Translations.h"
#include "gui/frmVastrel.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vastrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.1"));
    vastrel::InstallGermanQtTranslations(app);
    vastrel::frmVastrel window;
    window.show();
    return QApplication::exec();
}
