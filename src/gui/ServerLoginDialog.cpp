#include "gui/ServerLoginDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace vastrel {

std::optional<ServerLogin> RunServerLoginDialog(QWidget* parent, const ServerLogin& given) {
    QDialog dialog(parent);
    dialog.setObjectName(u"ServerLogin"_s);
    dialog.setWindowTitle(u"Server verbinden"_s);
    dialog.setMinimumWidth(420); // room for a server's name and the station's
    auto* form = new QFormLayout(&dialog);
    const auto line = [&](const QString& label, const QString& text, const QString& name) {
        auto* edit = new QLineEdit(text, &dialog);
        edit->setObjectName(name);
        form->addRow(label, edit);
        return edit;
    };
    QLineEdit* host = line(u"&Server:"_s, given.host, u"host"_s);
    auto* port = new QSpinBox(&dialog);
    port->setObjectName(u"port"_s);
    port->setRange(1, 65535);
    port->setValue(given.port);
    form->addRow(u"&Port:"_s, port);
    QLineEdit* database = line(u"&Datenbank:"_s, given.database, u"database"_s);
    QLineEdit* user = line(u"&Benutzer:"_s, given.user, u"user"_s);
    QLineEdit* password = line(u"Pass&wort:"_s, QString(), u"password"_s);
    password->setEchoMode(QLineEdit::Password);
    QLineEdit* station = line(u"S&tation:"_s, given.station, u"station"_s);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Verbinden"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Abbrechen"_s);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // The password is the one thing not remembered: where the rest is given, it is asked first.
    (given.host.isEmpty() ? host : password)->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ServerLogin{host->text(), port->value(),    database->text(),
                       user->text(), password->text(), station->text()};
}

} // namespace vastrel
