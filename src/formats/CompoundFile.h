#pragma once

#include <QByteArray>
#include <QString>

namespace vastrel {

// An OLE2 compound file (version 3, 512-byte sectors) that holds one stream under the given
// name, as Excel 97 workbooks are stored. Streams shorter than 4096 bytes are padded so that
// no mini stream is needed.
QByteArray BuildCompoundFile(const QString& streamName, QByteArray stream);

} // namespace vastrel
