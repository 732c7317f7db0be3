#pragma once

#include <QString>

namespace vastrel {

class Ui;

// "37% in Bearbeitung...  ": row * 100 / rowCount, halves to the even neighbour.
QString ProgressText(int row, int rowCount);
int ProgressPercent(int row, int rowCount);

// Writes the progress into status panel "3"; a text that would not change is not written again,
// so long tables do not build the same text hundreds of times.
class ProgressDisplay {
public:
    explicit ProgressDisplay(Ui& ui) : ui_(ui) {}
    void Show(int row, int rowCount);

private:
    Ui& ui_;
    int shown_ = -1;
};

} // namespace vastrel
