#pragma once

#include "PostgresDatabase.h"

#include <optional>

// Throw-away databases on the server that the test command starts for the tests and the benchmarks (scripts/
// test-server). Its environment names it: TALVORO_TEST_SERVER (the connection of the firm's administrator, without a
// database), TALVORO_TEST_SUPERUSER (the server's own superuser, who makes and drops databases), TALVORO_TEST_ROLES
// (the administrators' and the staff's roles) and TALVORO_TEST_STAFF (a user of the staff's role).
namespace ScratchServer {

// Whether the test command started a server.
bool available();

// A new database `name` (any one of that name is dropped first), owned by the administrator and prepared as the
// firm's: the address of the administrator's connection to it.
ServerAddress create(const QString& name);
// A new, empty database `name` owned by the administrator, prepared for nothing.
ServerAddress createEmpty(const QString& name);
// The same database as the staff user reaches it.
ServerAddress asStaff(const ServerAddress& address);
void drop(const QString& name);
// The administrators' role and the staff's.
QStringList roles();

} // namespace ScratchServer
