#pragma once

#include <QFileDevice>
#include <QString>

#include <functional>

namespace vastrel {

// True when the length of the named file can be read; never throws, never reports.
bool FileExists(const QString& path);

// The n-th piece (from 1) of the text split at the separator, with TABs removed first and
// blanks trimmed from the piece; the empty text when there is no such piece.
QString GetField(const QString& text, int fieldNumber, const QString& separator);

// Removes every blank (" ", not TAB or other white space) from the text.
QString RemoveBlanks(const QString& text);

// Puts the extension (without point) on the file name: "Lauf" and "Lauf.2024.txt" both give
// "Lauf.csv"; the folder part stays as it is, dots included. Both "\" and "/" end the folder part.
QString ReplaceExtension(const QString& path, const QString& extension);

// Creates or empties the file and writes the text and one CR LF. Written through a temporary
// file, so a failure leaves an existing file whole. On failure returns false and, when asked,
// a German description of the reason.
bool WriteTextFile(const QString& path, const QString& text, QString* errorMessage = nullptr);

// Hands what was written to a file, or a folder's list of names, to the disk, so that a power
// cut keeps it. False where the platform could not.
bool SyncToDisk(const QString& path);
// The same for a file open for writing, its buffer first.
bool SyncToDisk(QFileDevice& file);

// A temporary file's name pattern beside a target in `folder` (".vastrel-XXXXXX.fil"), and the
// removal of those a save left that never finished (the program was killed in mid-save).
QString TemporaryBeside(const QString& folder, const QString& suffix);
void RemoveStaleTemporaries(const QString& folder, const QString& suffix);

// The permissions a new file gets: read and write for all, less what the user's umask takes.
QFileDevice::Permissions NewFilePermissions();

// Writes bytes to the file through a temporary file that replaces it only when complete; the
// file and its folder are synced to the disk.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* errorMessage = nullptr);
// The same for a file written piece by piece: `write` returns false when a write failed.
bool WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write,
                         QString* errorMessage = nullptr);

} // namespace vastrel
