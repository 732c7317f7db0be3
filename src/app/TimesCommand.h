#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vastrel {

class Scorer;
class TableView;
class Ui;

// "Zeiten einlesen …": timing system files of one heat each, read one after the other into the
// distance the user chooses (preset from the heat's event name) and the run where start numbers
// repeat; each file's summary says what will happen and "Ja" enters it ("Nein" goes on to the
// next file, "Abbrechen" stops). `folder` is where the file dialog starts and becomes the files'
// folder. Answers whether anything was entered; the caller makes it all one step.
bool ReadTimesFromFile(TableView& view, Scorer& scorer, Ui& ui, QString& folder);

// How many times a file entered; none when the user stopped.
using TimesEntered = std::optional<int>;

// The same for one file's bytes (a watched folder's): without the summary's question where asked
// to and nothing would replace a time or be refused. `more`: other files wait behind this one.
TimesEntered EnterTimes(TableView& view, Scorer& scorer, Ui& ui, const QString& path, const QByteArray& bytes,
                        bool withoutQuestion, bool more = false);

} // namespace vastrel
