#include "gui/RowMenu.h"

#include <QApplication>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace vastrel {

RowMenu::RowMenu(std::function<void()> deleteRows, std::function<void()> addRow,
                 std::function<void()> history, QWidget* parent)
    : QMenu(u"PopUp"_s, parent) {
    setObjectName(u"MenuPopUp"_s);
    remove_ = addAction(QApplication::style()->standardIcon(QStyle::SP_TrashIcon), u"Zeile löschen"_s);
    remove_->setObjectName(u"mnuPopUp0"_s);
    addSeparator()->setObjectName(u"mnuPopUp1"_s);
    add_ = addAction(QApplication::style()->standardIcon(QStyle::SP_FileDialogNewFolder),
                     u"Neue Datenzeile hinzufügen"_s);
    add_->setObjectName(u"mnuPopUp2"_s);
    addSeparator()->setObjectName(u"mnuPopUp3"_s);
    QAction* past = addAction(u"Verlauf …"_s);
    past->setObjectName(u"mnuPopUp4"_s);
    connect(remove_, &QAction::triggered, this, [deleteRows] { deleteRows(); });
    connect(past, &QAction::triggered, this, [history] { history(); });
    connect(add_, &QAction::triggered, this, [addRow] { addRow(); });
    setToolTipsVisible(true);
}

void RowMenu::RefuseChanges(const QString& why) {
    for (QAction* action : {remove_, add_}) {
        action->setEnabled(why.isEmpty());
        action->setToolTip(why);
    }
}

} // namespace vastrel
