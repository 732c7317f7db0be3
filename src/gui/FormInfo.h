#pragma once

#include <QDialog>
#include <QStringList>

namespace vastrel {

// The About box "Info": the notice text, the version and "Weiter".
class FormInfo : public QDialog {
    Q_OBJECT
public:
    // `stations`: those connected to the competition on a server, listed below the version.
    explicit FormInfo(QWidget* parent = nullptr, const QStringList& stations = {});

    static QString NoticeText();
};

} // namespace vastrel
