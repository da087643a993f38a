#include "ScratchServer.h"

#include "SqlText.h"
#include "StoreError.h"

namespace ScratchServer {
namespace {

ServerAddress fromEnvironment(const char* variable, const QString& database) {
    ServerAddress a = ServerAddress::parse(qEnvironmentVariable(variable) + QStringLiteral(" dbname=") + database);
    return a;
}

} // namespace

QStringList roles() {
    return qEnvironmentVariable("TALVORO_TEST_ROLES").split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool available() {
    return !qEnvironmentVariable("TALVORO_TEST_SERVER").isEmpty() &&
           !qEnvironmentVariable("TALVORO_TEST_SUPERUSER").isEmpty() && roles().size() == 2;
}

ServerAddress create(const QString& name) {
    const ServerAddress admin = createEmpty(name);
    PostgresDatabase db(admin, PostgresDatabase::Mode::Empty);
    db.prepareFirm(roles().value(0), roles().value(1));
    return admin;
}

ServerAddress createEmpty(const QString& name) {
    if (!available())
        throw StoreError(QStringLiteral("No test server was started (scripts/test-server)."));
    ServerAddress admin = fromEnvironment("TALVORO_TEST_SERVER", name);
    {
        PostgresDatabase super(fromEnvironment("TALVORO_TEST_SUPERUSER", QStringLiteral("postgres")),
                               PostgresDatabase::Mode::Empty);
        super.execNative(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(SqlText::serverName(name)));
        super.execNative(QStringLiteral("CREATE DATABASE %1 OWNER %2 TEMPLATE template0 ENCODING 'UTF8'")
                             .arg(SqlText::serverName(name), SqlText::serverName(admin.value(QStringLiteral("user")))));
    }
    return admin;
}

ServerAddress asStaff(const ServerAddress& address) {
    ServerAddress a = address;
    a.set(QStringLiteral("user"), qEnvironmentVariable("TALVORO_TEST_STAFF"));
    return a;
}

void drop(const QString& name) {
    if (!available())
        return;
    PostgresDatabase super(fromEnvironment("TALVORO_TEST_SUPERUSER", QStringLiteral("postgres")),
                           PostgresDatabase::Mode::Empty);
    super.execNative(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(SqlText::serverName(name)));
}

} // namespace ScratchServer
