// Times the full interest run on a generated case and, as its floor, the insert of the same number of rows into
// [Event Table] in one transaction; then the same with ten times the events. Prints the figures; asserts nothing.
//
//   talvoro-bench-run [--work-dir DIR]

#include "CalculationRun.h"
#include "CaseReader.h"
#include "PostgresDatabase.h"
#include "ResultRows.h"
#include "RunReporter.h"
#include "ScratchServer.h"
#include "ServerTransfer.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "ToolSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>
#include <tuple>

namespace {

// A taxpayer whose return was due 4/15/1985 and is computed to 4/15/2025: forty years, with `payments` payments
// and `charges` charges spread over them.
void generate(SqliteDatabase& db, int payments, int charges) {
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],"
            "[Extended Due Date Of Return],[Date Return Filed],[End Date],[Initial Balance],"
            "[Calculate Failure To Pay Penalty],[Calculate Failure To File Penalty],"
            "[Assessment Date For Failure To Pay Penalty]) VALUES('Forty Years',#4/15/1985#,#10/15/1985#,"
            "#3/1/1987#,#4/15/2025#,250000,1,1,#6/1/1987#)");
    const QDate first(1985, 4, 16);
    const qint64 span = first.daysTo(QDate(2025, 4, 14));
    Transaction t(db);
    for (int i = 0; i < payments; ++i) {
        const QDate paid = first.addDays(span * i / payments);
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],"
                "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest]) "
                "VALUES(1,'Payment'," +
                SqlText::date(paid) + ",150,100,20,30)");
    }
    for (int i = 0; i < charges; ++i) {
        const QDate starts = first.addDays(span * i / charges + 7);
        db.exec("INSERT INTO [Additional Charges]([Taxpayer Number],[Event],[Date Interest Starts],"
                "[Charge Classified As Tax],[Charge Classified As Penalty],[Charge Unclassified]) "
                "VALUES(1,'Other Charge'," +
                SqlText::date(starts) + ",40,5,1.5)");
    }
    t.commit();
}

struct Figures {
    int rows = 0;
    double runMs = 0;
    double floorMs = 0;
};

Figures measureOn(Database& db);

Figures measure(const QString& folder, int payments, int charges, std::optional<Figures>* server) {
    const QString file = QDir(folder).filePath(QStringLiteral("kelvadat.mdb"));
    ToolSupport::freshDatabase(file);
    Figures f;
    {
        SqliteDatabase db(file);
        generate(db, payments, charges);
        f = measureOn(db);
    }
    // The same case on a firm's server, when the test server runs (scripts/bench-server).
    if (ScratchServer::available()) {
        const QString name = QStringLiteral("bench_run_%1").arg(QCoreApplication::applicationPid());
        {
            PostgresDatabase db(ScratchServer::create(name));
            ServerTransfer::copyWholeFile(file, db);
            *server = measureOn(db);
        }
        ScratchServer::drop(name);
    }
    return f;
}

Figures measureOn(Database& db) {
    ToolSupport::QuietReporter reporter;
    CalculationRun run(db, reporter);
    QElapsedTimer clock;
    clock.start();
    const TaxpayerCase tp = *CaseReader(db).read(1);
    const auto outcome = run.interestReport(tp, CalculationRun::interestCode);
    Figures f;
    f.runMs = double(clock.nsecsElapsed()) / 1e6;
    if (outcome != CalculationRun::Outcome::Written) {
        QTextStream(stderr) << "the run did not write its rows: " << reporter.messages.join(QStringLiteral("; "))
                            << '\n';
        return f;
    }
    f.rows = run.ledger().size();

    // The floor: the same rows written again, nothing computed.
    clock.restart();
    ResultRows::interest(run.ledger()).write(db);
    f.floorMs = double(clock.nsecsElapsed()) / 1e6;
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    QString folder = temporary.path();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--work-dir"))
        folder = args[2];

    QTextStream out(stdout);
    std::optional<Figures> oneOnServer, tenOnServer;
    const Figures one = measure(folder, 2000, 200, &oneOnServer);
    const Figures ten = measure(folder, 20000, 2000, &tenOnServer);
    for (const auto& [name, f, file] :
         {std::tuple{"on the server, 1x", oneOnServer, one}, std::tuple{"on the server, 10x", tenOnServer, ten}})
        if (f)
            out << name << ": " << f->rows << " ledger rows, run " << QString::number(f->runMs, 'f', 1) << " ms, "
                << QString::number(f->runMs / file.runMs, 'f', 2) << "x the file's" << '\n';
    for (const auto& [name, f] :
         {std::pair{"40 years, 2,000 payments, 200 charges", one}, std::pair{"the same with 10x the events", ten}})
        out << name << ": " << f.rows << " ledger rows, run " << QString::number(f.runMs, 'f', 1) << " ms, floor "
            << QString::number(f.floorMs, 'f', 1) << " ms, run/floor " << QString::number(f.runMs / f.floorMs, 'f', 2)
            << '\n';
    out << "10x events / 1x: time x" << QString::number(ten.runMs / one.runMs, 'f', 2) << ", rows x"
        << QString::number(double(ten.rows) / one.rows, 'f', 2) << '\n';
    return one.rows > 0 && ten.rows > 0 ? 0 : 1;
}
