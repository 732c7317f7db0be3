#pragma once

#include <QString>
#include <QStringList>

namespace vastrel {

// The folders the commands read and write. The window and the command-line tool take them from
// the machine; tests hand in a temporary folder, so nothing lands where they run.
struct Places {
    QString workFolder;          // the program's own writable folder: the web help page
    QString reportFolder;        // the report page
    QStringList templateFolders; // where the certificate template is looked for, in order
    QString certificateFolder;   // offered for the certificates ("d:\")
    QString fileDialogFolder;    // where the file dialogs start ("C:\")
    QString recoveryFolder;      // the autosave of unsaved changes
};

// The program's folders on this machine: its own folder (or the per-user data folder where that
// may not be written), the installed template folder, the documents and home folders.
Places PlatformPlaces();

// Every place inside one folder.
Places PlacesIn(const QString& folder);

// The certificate template ("\Urkunde.rtf") in the first template folder that holds it, else
// in the first one.
QString CertificateTemplatePath(const Places& places, const QString& templateName);

} // namespace vastrel
