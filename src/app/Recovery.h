#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace vastrel {

class ResultTable;

// The table kept safe from a crash or a power cut: written in the own format to a recovery file
// in the user's data folder, with the name of the file it belongs to. A normal end removes it;
// the next start offers what a crash left.
class Recovery {
public:
    explicit Recovery(QString folder) : folder_(std::move(folder)) {}

    // Writes the table (a copy: this runs on a thread of its own) and the name of its file.
    bool Write(const ResultTable& table, const QString& ownFile, QString* errorMessage = nullptr) const;
    // A normal end: nothing to recover.
    void Discard() const;

    struct Found {
        QDateTime written;
        QString ownFile; // empty for a table never saved
    };
    // A recovery file newer than its own file: changes that were never saved.
    std::optional<Found> Pending() const;
    // Loads it into the table; answers whether it could be read.
    bool Restore(ResultTable& table, QString* errorMessage = nullptr) const;
    // Keeps it under a name with its date, out of the way of the next recovery.
    void KeepAside() const;
    // Removes what an autosave killed in mid-write left in the folder.
    void RemoveLeftovers() const;

    QString FilePath() const;

private:
    QString NamePath() const;
    QString folder_;
};

// "Es gibt ungesicherte Änderungen vom 08.12.2026 23:42 (Datei Lauf.csv). Wiederherstellen?"
QString RecoveryQuestion(const Recovery::Found& found);

} // namespace vastrel
