#pragma once

#include "server/ServerAddress.h"

#include <QString>

namespace vastrel::testing {

// The cluster the test run started (scripts/server.sh), as VASTREL_TEST_SERVER names it. Each call
// of FreshDatabase makes a new, empty database there, so that tests share no rows.
ServerAddress TestServer();
ServerAddress FreshDatabase(const QString& competition = {});
// The address as the command-line tool takes it.
QString AddressText(const ServerAddress& address);

} // namespace vastrel::testing
