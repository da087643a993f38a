// Times a firm's whole book: 10,000 taxpayers with 200 payments each (2,000,000 payments), the summary of every one
// as `talvoro-run --all` makes it, against its floor (the same rows read with the same plain SELECT per table, in
// taxpayer order, every value taken, nothing computed), and the peak memory of the book. Prints the figures; asserts
// nothing.
//
//   talvoro-bench-whole-book [--taxpayers N] [--work-dir DIR]
//
// (--make, which it gives itself, writes the book into DIR in a process of its own.)

#include "Database.h"
#include "PostgresDatabase.h"
#include "ScratchServer.h"
#include "ServerTransfer.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "WholeBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int paymentsEach = 200;

// Income-tax cases filed late with both penalties on, each with its payments spread over three years.
void generate(SqliteDatabase& db, int taxpayers) {
    for (int first = 1; first <= taxpayers; first += 1000) {
        const int last = std::min(taxpayers, first + 999);
        std::vector<QVariantList> cases, payments;
        for (int n = first; n <= last; ++n) {
            const QDate due(2019 + n % 4, 4, 15);
            cases.push_back({n, QStringLiteral("Taxpayer %1").arg(n), due, due.addMonths(6), due.addMonths(8),
                             due.addYears(3), 50000.0 + n, true, true, due.addMonths(9)});
            for (int p = 0; p < paymentsEach; ++p)
                payments.push_back(
                    {n, QStringLiteral("Payment"), due.addDays(5 + p * 5), 100.0 + p % 7, 100.0 + p % 7, 0.0, 0.0});
        }
        Transaction t(db);
        db.insertRows(QStringLiteral("Basic Taxpayer Data"),
                      {"Taxpayer Number", "Taxpayer Name", "Original Due Date Of Return", "Extended Due Date Of Return",
                       "Date Return Filed", "End Date", "Initial Balance", "Calculate Failure To File Penalty",
                       "Calculate Failure To Pay Penalty", "Assessment Date For Failure To Pay Penalty"},
                      cases);
        db.insertRows(QStringLiteral("Payment Table"),
                      {"Taxpayer Number", "Event", "Date Of Payment", "Amount Of Payment", "Payment Allocated To Tax",
                       "Payment Allocated To Penalties", "Payment Allocated To Interest"},
                      payments);
        t.commit();
    }
}

// The resident memory high-water mark of this process, in MB; writing 5 to clear_refs starts it again from now.
double peakMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    const auto m =
        QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024 : 0;
}
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Every value of the rows the book reads, with the same plain SELECT a table (in taxpayer order), nothing computed.
qint64 readFloor(Database& db) {
    qint64 seen = 0;
    for (const QString& statement :
         {Sql::selectCaseTaxpayers(), Sql::selectCasePayments(), Sql::selectCaseCharges(), Sql::selectCaseDeposits(),
          Sql::selectCaseEstimatedData(), Sql::selectCaseEstimatedPayments()}) {
        const auto rows = db.cursor(statement);
        while (rows->next())
            for (int f = 0; f < rows->fieldCount(); ++f)
                seen += rows->value(f).isValid() ? 1 : 0;
    }
    return seen;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int taxpayers = 10000;
    QTemporaryDir temporary;
    QString folder = temporary.path();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--taxpayers"))
            taxpayers = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--work-dir"))
            folder = args[i + 1];
    }
    const QString file = QDir(folder).filePath(QStringLiteral("kelvadat.mdb"));
    if (args.contains(QStringLiteral("--make"))) {
        SqliteDatabase db(file);
        generate(db, taxpayers);
        return 0;
    }
    QFile::remove(file);
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvadat.mdb"), file);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QTextStream out(stdout);
    // The book is made by another process, so that this one's memory is the book's alone.
    if (QProcess::execute(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--make"), QStringLiteral("--taxpayers"), QString::number(taxpayers),
                           QStringLiteral("--work-dir"), folder}) != 0)
        return 1;
    out << taxpayers << " taxpayers, " << qint64(taxpayers) * paymentsEach << " payments" << Qt::endl;

    SqliteDatabase db(file);
    QElapsedTimer clock;
    clock.start();
    const qint64 values = readFloor(db);
    const double floorMs = double(clock.nsecsElapsed()) / 1e6;

    resetPeak();
    const double before = peakMb();
    clock.restart();
    const auto lines = WholeBook::summaries(db);
    const QByteArray csv = WholeBook::csv(lines).toUtf8();
    const double bookMs = double(clock.nsecsElapsed()) / 1e6;
    const double peak = peakMb();

    out << "floor (one plain SELECT a table, " << values << " values): " << QString::number(floorMs / 1000, 'f', 2)
        << " s" << Qt::endl
        << "whole book (" << lines.size() << " summaries, " << csv.size() / 1024
        << " KB of CSV): " << QString::number(bookMs / 1000, 'f', 2) << " s, "
        << QString::number(bookMs / floorMs, 'f', 2) << "x the floor" << Qt::endl
        << "peak memory during the book: " << QString::number(peak, 'f', 0) << " MB ("
        << QString::number(before, 'f', 0) << " MB at its start)" << Qt::endl;
    if (lines.size() != size_t(taxpayers))
        return 1;

    // The same book on a firm's server beside the file, when the test server runs (scripts/bench-server).
    if (!ScratchServer::available())
        return 0;
    const QString name = QStringLiteral("bench_whole_book_%1").arg(QCoreApplication::applicationPid());
    const ServerAddress address = ScratchServer::create(name);
    {
        PostgresDatabase server(address);
        clock.restart();
        ServerTransfer::copyWholeFile(file, server);
        const double copyMs = double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        const auto onServer = WholeBook::summaries(server);
        const QByteArray serverCsv = WholeBook::csv(onServer).toUtf8();
        const double serverMs = double(clock.nsecsElapsed()) / 1e6;
        out << "on the server (copied to it in " << QString::number(copyMs / 1000, 'f', 2) << " s): whole book "
            << QString::number(serverMs / 1000, 'f', 2) << " s, " << QString::number(serverMs / bookMs, 'f', 2)
            << "x the file's; the same CSV: " << (serverCsv == csv ? "yes" : "NO") << Qt::endl;
        if (serverCsv != csv) {
            ScratchServer::drop(name);
            return 1;
        }
    }
    ScratchServer::drop(name);
    return 0;
}
