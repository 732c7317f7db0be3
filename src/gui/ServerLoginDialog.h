#pragma once

#include "ports/Ui.h"

#include <optional>

class QWidget;

namespace vastrel {

// "Server verbinden …": server, port, database, user, password and the station's name in one form.
std::optional<ServerLogin> RunServerLoginDialog(QWidget* parent, const ServerLogin& given);

} // namespace vastrel
