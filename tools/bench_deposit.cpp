// Times the deposit penalty calculation of a payroll quarter with 500 deposits and 2,000 payments and of one with
// ten times as many. Prints the figures; asserts nothing.
//
//   talvoro-bench-deposit

#include "CaseReader.h"
#include "DepositPenalty.h"
#include "RunReporter.h"
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

struct Figures {
    size_t rows = 0;
    double ms = 0;
};

Figures measure(const QString& folder, int deposits, int payments) {
    const QString file = QDir(folder).filePath(QStringLiteral("kelvadat.mdb"));
    ToolSupport::freshDatabase(file);
    SqliteDatabase db(file);
    const QDate first(2005, 1, 1);
    {
        Transaction t(db);
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],"
                "[Start Date],[End Date],[Payroll Tax Situation]) VALUES(1,'Payroll',#4/30/2005#,#1/1/2005#,"
                "#12/31/2020#,1)");
        for (int i = 0; i < deposits; ++i)
            db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],"
                    "[Assessment Date],[Required Deposit]) VALUES(1,'Liability'," +
                    SqlText::date(first.addDays(i)) + ",#6/1/2020#,1000)");
        // Four payments a deposit, some late, the last one short of the deposit.
        for (int i = 0; i < payments; ++i) {
            const QDate due = first.addDays(i % deposits);
            db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],"
                    "[Payment Allocated To Tax],[Due Date Of Liability]) VALUES(1,'Payment'," +
                    SqlText::date(due.addDays(i / deposits * 4)) + ",240," + SqlText::date(due) + ")");
        }
        t.commit();
    }
    // The best of five runs: the figure least disturbed by whatever else the machine is doing.
    Figures best;
    for (int run = 0; run < 5; ++run) {
        ToolSupport::QuietReporter reporter;
        QElapsedTimer clock;
        clock.start();
        // Reading the case and the calculation on it, as a run does.
        const TaxpayerCase tp = *CaseReader(db).read(1);
        const DepositLedger ledger = CalculateDepositPenalty(tp, QDate(2020, 12, 31), true, reporter);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (run == 0 || ms < best.ms)
            best = {ledger.rows.size(), ms};
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const Figures small = measure(folder.path(), 500, 2000);
    const Figures large = measure(folder.path(), 5000, 20000);
    QTextStream out(stdout);
    out << "500 deposits, 2,000 payments: " << small.rows << " rows in " << QString::number(small.ms, 'f', 1) << " ms\n"
        << "5,000 deposits, 20,000 payments: " << large.rows << " rows in " << QString::number(large.ms, 'f', 1)
        << " ms\n"
        << "10x the data: time x" << QString::number(large.ms / small.ms, 'f', 2) << '\n';
    return 0;
}
