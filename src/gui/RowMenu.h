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
};

} // namespace vastrel
