// Times the import of an IRS account transcript: one of 2,000 lines (a long installment history: 1,960 payments,
// page headers every 50 lines) and one of 100,000 lines, each read, planned and written to a fresh database. Prints
// the figures; asserts nothing.
//
//   talvoro-bench-transcript [--work-dir DIR]

#include "BusinessDays.h"
#include "ProgramFiles.h"
#include "SqliteDatabase.h"
#include "ToolSupport.h"
#include "TranscriptImport.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QByteArray transcript(int lines) {
    QByteArray t = "This Product Contains Sensitive Taxpayer Data\nAccount Transcript\n"
                   "FORM NUMBER: 1040                       TAX PERIOD: Dec. 31, 2018\n"
                   "TAXPAYER IDENTIFICATION NUMBER: XXX-XX-1234\n"
                   "ACCRUED INTEREST: 0.00                  AS OF: Jun. 30, 2026\n"
                   "RETURN DUE DATE OR RETURN RECEIVED DATE (WHICHEVER IS LATER): Apr. 15, 2019\n"
                   "TRANSACTIONS\n"
                   "CODE  EXPLANATION OF TRANSACTION        CYCLE       DATE          AMOUNT\n"
                   "150   Tax return filed                  20191805    05-06-2019    $2,500,000.00\n"
                   "971   Installment agreement established             06-03-2019    $0.00\n";
    const QDate first(2019, 6, 10);
    for (int i = 10; i < lines; ++i) {
        if (i % 50 == 0) {
            t += "This Product Contains Sensitive Taxpayer Data\n";
            continue;
        }
        const QDate day = first.addDays(i % 2500);
        t += "670   Payment                                       " + day.toString("MM-dd-yyyy").toLatin1() +
             "    -$1,000.00\n";
    }
    return t;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    QString folder = temporary.path();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--work-dir"))
        folder = args[2];
    const auto rules = TranscriptRules::installed();
    const auto holidays =
        BusinessDays::parse(QString::fromUtf8(readRegularFile(DataFiles::path(DataFiles::holidays), dataFileLimit,
                                                              QStringLiteral("data file"))),
                            DataFiles::path(DataFiles::holidays));
    QTextStream out(stdout);
    for (const int lines : {2000, 100000}) {
        const QString file = QDir(folder).filePath(QStringLiteral("kelvadat-%1.mdb").arg(lines));
        ToolSupport::freshDatabase(file);
        SqliteDatabase db(file);
        const QByteArray text = transcript(lines);
        QElapsedTimer clock;
        clock.start();
        const auto account = Transcript::read(text, QStringLiteral("bench.txt"));
        const double readMs = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        const auto plan = TranscriptImport::plan(account, rules, holidays, std::nullopt, QStringLiteral("bench.txt"),
                                                 QDate(2026, 6, 30));
        const double planMs = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        TranscriptImport::write(db, plan);
        const double writeMs = double(clock.nsecsElapsed()) / 1e6;
        out << lines << " lines (" << plan.made.payments.size() << " payments): read "
            << QString::number(readMs, 'f', 1) << " ms, planned " << QString::number(planMs, 'f', 1) << " ms, written "
            << QString::number(writeMs, 'f', 1) << " ms, in all " << QString::number(readMs + planMs + writeMs, 'f', 1)
            << " ms\n";
        out.flush();
    }
    return 0;
}
