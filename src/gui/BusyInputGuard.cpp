#include "gui/BusyInputGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace vastrel {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

BusyInputGuard::BusyInputGuard(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

BusyInputGuard::~BusyInputGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool BusyInputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type()) || !watched->isWidgetType()) {
        return false;
    }
    if (static_cast<QWidget*>(watched)->window() != window_) {
        return false;
    }
    // An accepted override keeps a key from firing a shortcut; a refused close keeps the window.
    event->setAccepted(event->type() == QEvent::ShortcutOverride);
    return true;
}

} // namespace vastrel
