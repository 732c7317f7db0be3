#pragma once

namespace vastrel {

class RegionalSettings;
class Settings;
class Ui;

// When the platform writes 1.1 as "1,1", makes the point the decimal separator and the blank
// the thousands separator, and tells the user so, once: where the change holds for this
// process only (as on Linux), it is made at every start, and the note would claim a change that
// never lasts.
void CheckDecimalSeparator(RegionalSettings& regional, Ui& ui, Settings& remembered);

} // namespace vastrel
