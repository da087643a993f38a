// One user's edit of a taxpayer's name on the firm's server, in a process of its own: it shows the taxpayer
// ("shown NAME"), waits for a line on its standard input (the user typing and pressing Save), and saves the typed
// name unless someone else changed the taxpayer meanwhile; then it says what it did and what the form still holds.
//
//   talvoro-test-edit "ADDRESS" TAXPAYER NAME

#include "PostgresDatabase.h"
#include "SqlText.h"
#include "Statements.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    QTextStream out(stdout);
    try {
        PostgresDatabase db(ServerAddress::parse(QString::fromLocal8Bit(argv[1])));
        const int number = QString::fromLocal8Bit(argv[2]).toInt();
        const QString typed = QString::fromLocal8Bit(argv[3]);
        qint64 seen = db.latestChange(number);
        out << "shown " << db.query(Sql::selectTaxpayerName(number)).value(0, 0).toString() << Qt::endl;
        QTextStream(stdin).readLine();
        const auto other = db.writeUnlessChanged(number, &seen, [&] {
            db.exec(QStringLiteral("UPDATE [Basic Taxpayer Data] SET [Taxpayer Name] = %1 WHERE [Taxpayer Number] = %2")
                        .arg(SqlText::quote(typed))
                        .arg(number));
        });
        out << (other ? PostgresDatabase::conflictMessage(number, *other) : QStringLiteral("saved")) << '\n'
            << "typed " << typed << Qt::endl;
    } catch (const StoreError& e) {
        QTextStream(stderr) << e.message() << '\n';
        return 1;
    }
    return 0;
}
