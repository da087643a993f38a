#include "Connection.h"

#include "ServerTransfer.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "StoreError.h"

namespace Connection {
namespace {

// The password typed this session, for the one server (connection keywords) it was typed for.
QPair<QString, QString>& sessionPassword() {
    static QPair<QString, QString> password;
    return password;
}

bool& local() {
    static bool on = false;
    return on;
}

// The server the windows work on now: none when the file is chosen or taken for this session.
std::optional<ServerAddress> inUse() {
    return local() ? std::nullopt : server();
}

} // namespace

std::optional<ServerAddress> server() {
    const QString text = Settings::server().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    try {
        return ServerAddress::parse(text);
    } catch (const StoreError& e) {
        throw StoreError(e.message() + QStringLiteral(" (the setting \"%1\" in %2). Choose the database again under "
                                                      "System > Database….")
                                           .arg(Settings::serverKey, Settings::fileName()));
    }
}

void setServer(const std::optional<ServerAddress>& address) {
    Settings::setServer(address ? address->text() : QString());
}

std::unique_ptr<PostgresDatabase> openServer(const ServerAddress& address) {
    ServerAddress a = address;
    if (sessionPassword().first == address.text() && !sessionPassword().second.isEmpty())
        a.set(QStringLiteral("password"), sessionPassword().second);
    return std::make_unique<PostgresDatabase>(a);
}

std::unique_ptr<QtDatabase> open(const QString& newpath) {
    if (const auto s = inUse())
        return openServer(*s);
    return std::make_unique<SqliteDatabase>(Settings::databasePath(newpath));
}

void workLocallyThisSession(bool on) {
    local() = on;
}

bool workingLocally() {
    return local();
}

void rememberPassword(const ServerAddress& address, const QString& password) {
    sessionPassword() = {address.text(), password};
}

bool needsPassword(const StoreError& e) {
    return e.details().contains(QLatin1String("no password supplied")) ||
           e.details().contains(QLatin1String("password authentication failed"));
}

void save(const QString& newpath, const QString& target, const QList<int>& numbers) {
    if (const auto s = inUse()) {
        const auto db = openServer(*s);
        ServerTransfer::save(*db, newpath + Settings::templateFileName, target, numbers);
        return;
    }
    TaxpayerTransfer::save(Settings::databasePath(newpath), newpath + Settings::templateFileName, target, numbers);
}

TaxpayerTransfer::Outcome retrieve(const QString& newpath, const QString& file, bool newNumbers, QList<int>* given) {
    if (const auto s = inUse()) {
        const auto db = openServer(*s);
        return ServerTransfer::retrieve(file, *db, newNumbers, given);
    }
    return TaxpayerTransfer::retrieve(file, Settings::databasePath(newpath), newNumbers, given);
}

} // namespace Connection
