#pragma once

#include <QString>

class QPagedPaintDevice;

namespace vastrel {

// Draws the report page onto A4 landscape pages: the table scaled to the page's width, down for
// the full view and up (to a readable size) for a day's few columns; long tables go on over
// further pages.
void PaintReportPages(const QString& html, QPagedPaintDevice& device);

} // namespace vastrel
