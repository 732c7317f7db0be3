#pragma once

#include <QObject>

class QWidget;

namespace vastrel {

// While a long run lets the window paint its progress, the user's input to that window must not
// start anything: keys, clicks, the wheel and closing it are dropped until the guard goes.
// Disabling the window would do the same but repaint all of it twice, greyed and back.
// Dialogs shown during the run are windows of their own and keep their input.
class BusyInputGuard : public QObject {
public:
    explicit BusyInputGuard(QWidget* window);
    ~BusyInputGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
};

} // namespace vastrel
