#include "app/Places.h"
#include "app/ProgramInfo.h"
#include "gui/Translations.h"
#include "gui/frmVastrel.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vastrel"));
    QApplication::setApplicationVersion(vastrel::ProgramVersion());
    vastrel::InstallGermanQtTranslations(app);
    vastrel::frmVastrel window(vastrel::PlatformPlaces());
    window.show();
    return QApplication::exec();
}
