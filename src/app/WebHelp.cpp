#include "app/WebHelp.h"

#include "app/ProgramInfo.h"
#include "ports/Ui.h"
#include "system/FileHelpers.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace vastrel {

void ShowWebHelp(Ui& ui, const QString& programFolder, const ProgramFinder& find,
                 const ProgramStarter& start) {
    const QString page = programFolder + u"/vst.htm"_s;
    const QString host = QString::fromUtf16(kHomePageHost);
    QString problem;
    if (!WriteTextFile(page, QString(), &problem)) {
        ui.MessageBox(problem, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    const QString browser = find(page);
    QFile::remove(page);
    if (browser.isEmpty()) {
        ui.MessageBox(u"Es ist kein Webbrowser eingerichtet, der Webseiten öffnet.\r\n"
                      u"Die Seite %1 kann nicht angezeigt werden."_s.arg(host),
                      u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    if (!start(browser, {host})) {
        ui.MessageBox(
            u"Der Webbrowser \"%1\" ließ sich nicht starten.\r\nDie Seite %2 kann nicht angezeigt werden."_s
                .arg(browser, host),
            u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
    }
}

} // namespace vastrel
