#pragma once

#include <QString>
#include <QStringList>

namespace vastrel {

// The format "speichern" writes: the number of the filter chosen in "speichern unter".
enum class SaveFormat { None = 0, Fil = 1, Csv = 2, Xls = 3, Xlsx = 4 };

// What the main window keeps from start-up to the end and the commands share.
struct MainWindowState {
    QString baseCaption;          // the title line without a day suffix
    bool shortPrint = true;       // "Kurzdruck": the report leaves out the personal columns
    QString certificateTemplate;  // "\Urkunde.rtf", relative to the program's folder
    QString certificateVariant;   // key of the certificate item last chosen
    int dayView = 0;              // the day the table shows, 0 for all days
    bool certificatesPdf = false; // "als eine PDF-Datei": the certificates of a run as one PDF
    QString saveFileName;         // what "speichern" writes; set only by "speichern unter"
    SaveFormat saveFormat = SaveFormat::None;
    QString openedFile;   // the file last opened or saved, for the window's title
    QString onServer;     // "Lauf2026 @ 192.168.1.10" while the table is a competition on a server
    QStringList stations; // the stations heard from lately on that competition, for "Info"
    QString readOnly;     // why nothing may be changed here (a read-only login); empty where it may
};

} // namespace vastrel
