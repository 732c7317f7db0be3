#include "gui/FolderBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The deepest folder of the typed path that is there: where the chooser starts.
QString ExistingPart(const QString& typed) {
    QString path = QDir::fromNativeSeparators(typed);
    while (!path.isEmpty() && !QFileInfo(path).isDir()) {
        const qsizetype cut = path.lastIndexOf(u'/', path.endsWith(u'/') ? -2 : -1);
        path = cut > 0 ? path.left(cut) : QString();
    }
    return path.isEmpty() ? QDir::homePath() : path;
}

} // namespace

std::optional<QString> RunFolderBox(QWidget* parent, const QString& prompt, const QString& title,
                                    const QString& defaultFolder) {
    QDialog dialog(parent);
    dialog.setObjectName(u"folderBox"_s);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    auto* field = new QLineEdit(defaultFolder, &dialog);
    field->setObjectName(u"folderField"_s);
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 50);
    label->setBuddy(field);
    auto* browse = new QPushButton(u"&Durchsuchen …"_s, &dialog);
    browse->setObjectName(u"browseButton"_s);
    browse->setAutoDefault(false);
    row->addWidget(field, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, field] {
        const QString chosen =
            QFileDialog::getExistingDirectory(&dialog, u"Ordner wählen"_s, ExistingPart(field->text()));
        if (!chosen.isEmpty()) {
            field->setText(QDir::toNativeSeparators(chosen.endsWith(u'/') ? chosen : chosen + u'/'));
        }
    });
    field->selectAll();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return field->text();
}

} // namespace vastrel
