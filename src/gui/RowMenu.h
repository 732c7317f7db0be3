#pragma once

#include <QMenu>

#include <functional>

namespace vastrel {

// The table's context menu: "Zeile löschen", a separator, "Neue Datenzeile hinzufügen"; then,
// after another separator, "Verlauf …".
class RowMenu : public QMenu {
    Q_OBJECT
public:
    RowMenu(std::function<void()> deleteRows, std::function<void()> addRow, std::function<void()> history,
            QWidget* parent = nullptr);
    // The items that change rows disabled, with the reason as their tool tip; empty: enabled.
    void RefuseChanges(const QString& why);

private:
    QAction* remove_;
    QAction* add_;
};

} // namespace vastrel
