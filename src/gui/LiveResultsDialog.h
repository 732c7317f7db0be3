#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class QWidget;

namespace vastrel {

// The text as a QR code, one pixel a module with a quiet zone of four; null where it does not fit.
QImage QrCodeImage(const QString& text);

// Where the live results are: the addresses to open, the first as a QR code, the kiosk view.
void ShowLiveResultsDialog(QWidget* parent, const QStringList& addresses);

} // namespace vastrel
