#pragma once

namespace vastrel {

class RegionalSettings;
class Ui;

// When the platform writes 1.1 as "1,1", makes the point the decimal separator and the blank
// the thousands separator, and tells the user so.
void CheckDecimalSeparator(RegionalSettings& settings, Ui& ui);

} // namespace vastrel
