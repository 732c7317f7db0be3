#pragma once

#include <QString>

namespace vastrel {

// Host of the points system's home page: ends the window title, opened by the web help.
// A name under the reserved example domain until the organisers have a real one.
inline constexpr char16_t kHomePageHost[] = u"www.vastrel.example";

// "1.1.1": the program's version, as the build names it.
QString ProgramVersion();

// "V1.1(1)": major.minor(revision) of the program's version.
QString ProgramVersionText();

// "Internationaler Vastrel V1.1(1), Freeware nach dem Punktesystem von " and the host.
QString MainWindowTitle();

} // namespace vastrel
