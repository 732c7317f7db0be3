#include "gui/FormInfo.h"

#include "app/ProgramInfo.h"
#include "gui/Twips.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace vastrel {

QString FormInfo::NoticeText() {
    return u"Vastrel hält die Ergebnisse eines Laufwettbewerbs über zehn Strecken an vier Tagen fest: "
           u"60 m, 1500 m und 400 m am ersten, 100 m, 3000 m und 800 m am zweiten, 200 m, 5000 m und "
           u"1000 m am dritten und 10 km am vierten Tag.\n\n"
           u"Jede Zeit wird nach dem Punktesystem in Punkte umgerechnet: Punkte = A × (B − Zeit)², mit "
           u"Beiwerten A und B je Strecke und Geschlecht. Ältere Läuferinnen und Läufer erhalten über den "
           u"Altersfaktor ihrer Altersklasse eine verkürzte Zeit. Tagessummen und Gesamtpunktzahl werden "
           u"laufend mitgeführt.\n\n"
           u"Vastrel ist Freeware. Mehr zum Punktesystem unter "_s +
           QString::fromUtf16(kHomePageHost) + u"."_s;
}

FormInfo::FormInfo(QWidget* parent, const QStringList& stations) : QDialog(parent) {
    setObjectName(u"FormInfo"_s);
    setWindowTitle(u"Info"_s);
    setModal(true);
    setFixedSize(TwipsToPixels(this, 5172), TwipsToPixels(this, 3768));

    auto* layout = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setObjectName(u"xpFrame1"_s);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setStyleSheet(
        u"QFrame#xpFrame1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF,"
        u" stop:1 #D8E4F8); border: 1px solid #8090A8; border-radius: 4px; }"_s);
    auto* inner = new QVBoxLayout(frame);

    auto* title = new QLabel(u"Internationaler Vastrel"_s, frame);
    title->setStyleSheet(u"font-weight: bold; font-size: 12pt; color: #1F3A6B; background: transparent;"_s);
    inner->addWidget(title);

    auto* text = new QPlainTextEdit(NoticeText(), frame);
    text->setObjectName(u"Text1"_s);
    text->setReadOnly(true);
    inner->addWidget(text, 1);

    auto* version = new QLabel(u"Version: "_s + ProgramVersionText().mid(1), frame);
    version->setObjectName(u"lblVersion"_s);
    version->setStyleSheet(u"background: transparent;"_s);
    inner->addWidget(version);
    if (!stations.isEmpty()) {
        auto* connected = new QLabel(u"Verbundene Stationen: "_s + stations.join(u", "_s), frame);
        connected->setObjectName(u"lblStationen"_s);
        connected->setStyleSheet(u"background: transparent;"_s);
        connected->setWordWrap(true);
        inner->addWidget(connected);
    }
    layout->addWidget(frame, 1);

    auto* next = new QPushButton(u"Weiter"_s, this);
    next->setObjectName(u"cmdInfoWeiter"_s);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(next, 0, Qt::AlignRight);

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

} // namespace vastrel
