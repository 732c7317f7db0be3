#pragma once

#include <QDialog>

namespace vastrel {

// The About box "Info": the notice text, the version and "Weiter".
class FormInfo : public QDialog {
    Q_OBJECT
public:
    explicit FormInfo(QWidget* parent = nullptr);

    static QString NoticeText();
};

} // namespace vastrel
