#include "Connection.h"

#include "ServerTransfer.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "StoreError.h"

namespace Connection {
namespace {

QString& sessionPassword() {
    static QString password;
    return password;
}

} // namespace

std::optional<ServerAddress> server() {
    const QString text = Settings::server().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return ServerAddress::parse(text);
}

void setServer(const std::optional<ServerAddress>& address) {
    Settings::setServer(address ? address->text() : QString());
    sessionPassword().clear();
}

std::unique_ptr<PostgresDatabase> openServer(const ServerAddress& address) {
    ServerAddress a = address;
    if (!sessionPassword().isEmpty())
        a.set(QStringLiteral("password"), sessionPassword());
    return std::make_unique<PostgresDatabase>(a);
}

std::unique_ptr<QtDatabase> open(const QString& newpath) {
    if (const auto s = server())
        return openServer(*s);
    return std::make_unique<SqliteDatabase>(Settings::databasePath(newpath));
}

void rememberPassword(const QString& password) {
    sessionPassword() = password;
}

bool needsPassword(const StoreError& e) {
    return e.details().contains(QLatin1String("no password supplied")) ||
           e.details().contains(QLatin1String("password authentication failed"));
}

void save(const QString& newpath, const QString& target, const QList<int>& numbers) {
    if (const auto s = server()) {
        const auto db = openServer(*s);
        ServerTransfer::save(*db, newpath + Settings::templateFileName, target, numbers);
        return;
    }
    TaxpayerTransfer::save(Settings::databasePath(newpath), newpath + Settings::templateFileName, target, numbers);
}

TaxpayerTransfer::Outcome retrieve(const QString& newpath, const QString& file, bool newNumbers, QList<int>* given) {
    if (const auto s = server()) {
        const auto db = openServer(*s);
        return ServerTransfer::retrieve(file, *db, newNumbers, given);
    }
    return TaxpayerTransfer::retrieve(file, Settings::databasePath(newpath), newNumbers, given);
}

} // namespace Connection
