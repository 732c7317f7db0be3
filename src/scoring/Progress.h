#pragma once

#include <QString>

namespace vastrel {

// "37% in Bearbeitung...  ": row * 100 / rowCount, halves to the even neighbour.
QString ProgressText(int row, int rowCount);

} // namespace vastrel
