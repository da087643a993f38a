#pragma once

#include "PostgresDatabase.h"
#include "QtDatabase.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"

#include <memory>
#include <optional>

// Where the program's windows find the taxpayers: the file of the data folder, or the firm's server chosen under
// System > Database…. A password the user typed is kept for this session alone.
namespace Connection {

// The server chosen in the settings; a setting that cannot be read is a StoreError that says how to mend it.
std::optional<ServerAddress> server();
void setServer(const std::optional<ServerAddress>& address);

// The chosen server's database, or the file `newpath` names.
std::unique_ptr<QtDatabase> open(const QString& newpath);
// The server's database at `address`, with the password typed this session if there is one.
std::unique_ptr<PostgresDatabase> openServer(const ServerAddress& address);

// For the rest of this session the local file, whatever server is chosen: the user's answer when the server could
// not be reached. Every window and transfer then works on the file, as the main window does.
void workLocallyThisSession(bool on);
bool workingLocally();

// Kept in memory until the program ends, never written anywhere, and sent to that server alone.
void rememberPassword(const ServerAddress& address, const QString& password);
// Whether a refusal is the server asking for a password it did not find in ~/.pgpass.
bool needsPassword(const StoreError& e);

// A save into a file and a retrieve from one, on whichever database the program works on.
void save(const QString& newpath, const QString& target, const QList<int>& numbers);
TaxpayerTransfer::Outcome retrieve(const QString& newpath, const QString& file, bool newNumbers = false,
                                   QList<int>* given = nullptr);

} // namespace Connection
