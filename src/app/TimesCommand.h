#pragma once

#include <QByteArray>
#include <QString>

namespace vastrel {

class Scorer;
class TableView;
class Ui;

// "Zeiten einlesen …": a timing system's file of one heat, read into the distance the user
// chooses (preset from the heat's event name) and the run where start numbers repeat; the
// summary says what will happen and "Ja" enters it. `folder` is where the file dialog starts and
// becomes the file's folder. Answers whether anything was entered; the caller makes it one step.
bool ReadTimesFromFile(TableView& view, Scorer& scorer, Ui& ui, QString& folder);

// The same for a file's bytes (a watched folder's): without the summary's question where asked
// to and nothing would replace a time or be refused.
bool EnterTimes(TableView& view, Scorer& scorer, Ui& ui, const QString& path, const QByteArray& bytes,
                bool withoutQuestion);

} // namespace vastrel
