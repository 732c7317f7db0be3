#pragma once

#include "scoring/Scorer.h"
#include "table/ResultTable.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class QTableView;

namespace vastrel {

class QtUi;
class ResultTableModel;

// The main window: the title line, the results table and the status bar. It creates the
// widgets and hands the table's notifications to the commands.
class frmVastrel : public QMainWindow {
    Q_OBJECT
public:
    explicit frmVastrel(QWidget* parent = nullptr);
    ~frmVastrel() override;

    ResultTable& Table() { return table_; }
    QTableView* Grid() const { return grid_; }
    QtUi& WindowUi() { return *ui_; }

private:
    void LoadWindow();
    void ApplyColumnLayout();
    void ShowTableState();
    int TwipsToPixels(int twips) const;

    ResultTable table_;
    std::unique_ptr<QtUi> ui_;
    std::unique_ptr<Scorer> scorer_;
    ResultTableModel* model_ = nullptr;
    QLabel* titleLine_ = nullptr;
    QTableView* grid_ = nullptr;
    QString baseCaption_;
};

} // namespace vastrel
