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
    vastrel::frmVastrel window({vastrel::PlatformPlaces()});
    window.show();
    window.OfferRecovery(); // what a crash or a power cut left
    // "vastrel Lauf.csv": the file a double click or the desktop hands over.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.OpenAtStart(arguments.at(1));
    }
    return QApplication::exec();
}
