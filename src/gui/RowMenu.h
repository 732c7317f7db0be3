#pragma once

#include <QMenu>

#include <functional>

namespace vastrel {

// The table's context menu: "Zeile löschen", a separator, "Neue Datenzeile hinzufügen".
class RowMenu : public QMenu {
    Q_OBJECT
public:
    RowMenu(std::function<void()> deleteRows, std::function<void()> addRow, QWidget* parent = nullptr);
};

} // namespace vastrel
