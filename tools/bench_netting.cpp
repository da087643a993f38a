// Times the netting of a client of 20 returns with 200 events each: returns 2001 to 2020 of one corporation, the odd
// ones owing 500,000.00 and paid 2,000.00 at a time, the even ones overpaid 600,000.00 and refunded 2,500.00 at a
// time, all computed to 12/31/2025. Prints the figures; asserts nothing.
//
//   talvoro-bench-netting [--work-dir DIR]

#include "CaseReader.h"
#include "NettingRun.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "ToolSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int returns = 20;
constexpr int events = 200;

void generate(SqliteDatabase& db) {
    Transaction t(db);
    for (int i = 0; i < returns; ++i) {
        const bool owes = i % 2 == 0;
        const QDate due(2002 + i, 3, 15);
        const QDate end(2025, 12, 31);
        db.exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],"
                               "[End Date],[Initial Balance],[Corporate Taxpayer],[Client Code]) VALUES(%1,%2,%3,%4,1,"
                               "'BENCH')")
                    .arg(SqlText::quote(QStringLiteral("Return %1").arg(2001 + i)), SqlText::date(due),
                         SqlText::date(end), owes ? QStringLiteral("500000") : QStringLiteral("-600000")));
        const int n = i + 1;
        const qint64 span = due.daysTo(end) - 30;
        for (int k = 0; k < events; ++k) {
            const QDate day = due.addDays(1 + span * k / events);
            if (owes)
                db.exec(QStringLiteral("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],"
                                       "[Amount Of Payment],[Payment Allocated To Tax]) VALUES(%1,'Payment',%2,2000,"
                                       "2000)")
                            .arg(n)
                            .arg(SqlText::date(day)));
            else
                db.exec(QStringLiteral("INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],"
                                       "[Interest To Date],[Amount Of Refund]) VALUES(%1,'Refund',%2,%3,2500)")
                            .arg(n)
                            .arg(SqlText::date(day.addDays(9)), SqlText::date(day)));
        }
    }
    t.commit();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    QString folder = temporary.path();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--work-dir"))
        folder = args[2];
    const QString file = QDir(folder).filePath(QStringLiteral("kelvadat.mdb"));
    ToolSupport::freshDatabase(file);
    SqliteDatabase db(file);
    generate(db);

    QTextStream out(stdout);
    ToolSupport::QuietReporter reporter;
    QElapsedTimer clock;
    clock.start();
    CaseReader reader(db);
    const std::vector<TaxpayerCase> cases = reader.client(QStringLiteral("BENCH"));
    const double readMs = double(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    NettingRun::Result result;
    const RunOutcome outcome = NettingRun(reporter).run(QStringLiteral("BENCH"), cases, &result);
    const double nettingMs = double(clock.nsecsElapsed()) / 1e6;
    if (outcome != RunOutcome::Written) {
        QTextStream(stderr) << "the netting stopped: " << reporter.messages.join(QStringLiteral("; ")) << '\n';
        return 1;
    }
    out << returns << " returns of " << events << " events each: read " << QString::number(readMs, 'f', 1)
        << " ms, netting " << QString::number(nettingMs, 'f', 1)
        << " ms (each return run as it stands, cut at the client's dates, and with the netting measured again up to "
           "three times), "
        << result.overlaps.size() << " overlaps, benefit "
        << QString::number(double(result.benefit.cents()) / 100.0, 'f', 2) << '\n';
    return 0;
}
