#pragma once

class Database;
class SqliteDatabase;

// The steps that bring a file of an older layout to the program's own, one per layout. Each step rebuilds the tables
// whose columns changed (their rows kept, in their order, a new column empty), makes the new tables and indexes, and
// then does what else its layout needs. The caller runs them in one transaction, after a whole copy of the file.
namespace Upgrade {

// Every step from layout `from` + 1 to the program's layout, on `db` (inside an open transaction).
void steps(SqliteDatabase& db, int from);

// What a layout needs besides its tables (the published figures it adds, the values it moves), on either engine.
void fill(Database& db, int layout);

} // namespace Upgrade
