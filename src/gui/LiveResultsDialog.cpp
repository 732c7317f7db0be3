#include "gui/LiveResultsDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include <qrencode.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace vastrel {

QImage QrCodeImage(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code) {
        return {};
    }
    constexpr int kQuiet = 4;
    const int size = code->width + 2 * kQuiet;
    QImage image(size, size, QImage::Format_Mono);
    image.fill(0);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1) { // the low bit: a dark module
                image.setPixel(x + kQuiet, y + kQuiet, 1);
            }
        }
    }
    return image;
}

void ShowLiveResultsDialog(QWidget* parent, const QStringList& addresses) {
    QDialog dialog(parent);
    dialog.setWindowTitle(u"Live-Ergebnisse"_s);
    auto* layout = new QVBoxLayout(&dialog);
    QStringList links;
    for (const QString& address : addresses) {
        links << u"<a href=\"%1\">%1</a>"_s.arg(address.toHtmlEscaped());
    }
    auto* where =
        new QLabel(u"Die Live-Ergebnisse stehen im Netz unter:<br><b>%1</b><br><br>Für einen Bildschirm "
                   u"am Ziel: <b>%2/tv</b>"_s.arg(links.join(u"<br>"_s), addresses.value(0).toHtmlEscaped()),
                   &dialog);
    where->setTextInteractionFlags(Qt::TextBrowserInteraction);
    where->setOpenExternalLinks(true);
    layout->addWidget(where);
    const QImage code = QrCodeImage(addresses.value(0));
    if (!code.isNull()) {
        auto* picture = new QLabel(&dialog);
        const int scale = std::max(1, 280 / code.width());
        picture->setPixmap(QPixmap::fromImage(code.scaled(code.size() * scale)));
        picture->setAlignment(Qt::AlignCenter);
        picture->setToolTip(u"Mit der Kamera des Telefons scannen"_s);
        layout->addWidget(picture);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

} // namespace vastrel
