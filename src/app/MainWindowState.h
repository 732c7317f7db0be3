#pragma once

#include <QString>

namespace vastrel {

// What the main window keeps from start-up to the end and the commands share.
struct MainWindowState {
    QString baseCaption;         // the title line without a day suffix
    bool shortPrint = true;      // "Kurzdruck": the report leaves out the personal columns
    QString certificateTemplate; // "\Urkunde.rtf", relative to the program's folder
    QString certificateVariant;  // key of the certificate item last chosen
    QString saveFileName;        // what "speichern" writes; set only by "speichern unter"
    int saveFormat = 0;          // 1 fil, 2 csv, 3 xls; 0 before the first "speichern unter"
};

} // namespace vastrel
