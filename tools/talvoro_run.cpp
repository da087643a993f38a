// Runs the program's calculation runs without a window, for automation and tests:
//
//   talvoro-run --data-dir DIR --taxpayer N --report interest|summary|penalty|deposit|payment
//               [--pdf FILE] [--csv FILE]
//   talvoro-run --data-dir DIR --taxpayer N --balance-at MM/DD/YYYY
//
// --pdf and --csv export the report after the run (the payment report has no run: it is only exported).
//
// --balance-at prints the balances on that payment date as the payment form shows them, one a line:
// "Tax Due: ...", "Interest Due: ...", "Penalties Due: ...".
// Every text the run would show in a message box or notice goes to standard error, one line each; a report timer
// the run arms is printed on standard output as its name and interval ("Timer7 9800").
// Exit status: 0 the run wrote its result, 1 it ended through a message or failure, 2 bad arguments or an unknown
// taxpayer.

#include "CalculationRun.h"
#include "DepositReportRun.h"
#include "MoneyText.h"
#include "ReportPainter.h"
#include "ReportSource.h"
#include "RunReporter.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TaxpayerRecord.h"
#include "ToolSupport.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

class ConsoleReporter : public RunReporter {
public:
    void message(const QString& text) override { err() << text << Qt::endl; }
    void notice(const QString& text) override { err() << text << Qt::endl; }
    void progress(int) override {}
    void progressVisible(bool) override {}
    void armTimer(const QString& timer, int intervalMs) override {
        QTextStream(stdout) << timer << ' ' << intervalMs << '\n';
    }

private:
    static QTextStream& err() {
        static QTextStream s(stderr);
        return s;
    }
};

constexpr int exitWritten = 0;
constexpr int exitStopped = 1;
constexpr int exitUsage = 2;

int usage(const QString& why) {
    QTextStream err(stderr);
    err << "talvoro-run: " << why << '\n'
        << "usage: talvoro-run [--data-dir DIR] --taxpayer N --report interest|summary|penalty|deposit|payment\n"
        << "                   [--pdf FILE] [--csv FILE]\n"
        << "       talvoro-run [--data-dir DIR] --taxpayer N --balance-at MM/DD/YYYY\n";
    return exitUsage;
}

int exitOf(RunOutcome o) {
    return o == RunOutcome::Written ? exitWritten : exitStopped;
}

using Report = std::function<RunOutcome(Database&, RunReporter&, const TaxpayerRecord&)>;

const std::map<QString, Report>& reports() {
    static const std::map<QString, Report> table = {
        {QStringLiteral("interest"),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) {
             return CalculationRun(db, r).interestReport(tp, CalculationRun::interestCode);
         }},
        {QStringLiteral("summary"),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) {
             return CalculationRun(db, r).interestReport(tp, CalculationRun::summaryCode);
         }},
        {QStringLiteral("penalty"), [](Database& db, RunReporter& r,
                                       const TaxpayerRecord& tp) { return CalculationRun(db, r).penaltyReport(tp); }},
        {QStringLiteral("deposit"),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) { return DepositReportRun(db, r).run(tp); }},
        {QStringLiteral("payment"), [](Database&, RunReporter&, const TaxpayerRecord&) { return RunOutcome::Written; }},
    };
    return table;
}

} // namespace

int main(int argc, char** argv) {
    // Exporting a PDF draws text, which needs a platform; without a display the offscreen one serves.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ToolSupport::quietQt();
    QGuiApplication app(argc, argv);
    QString dataDir, report, pdfFile, csvFile;
    QDate balanceDate;
    std::optional<int> taxpayer;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--data-dir") && hasValue) {
            dataDir = args[++i];
        } else if (a == QLatin1String("--taxpayer") && hasValue) {
            bool ok = false;
            taxpayer = args[++i].toInt(&ok);
            if (!ok)
                return usage(QStringLiteral("the taxpayer number \"%1\" is not a whole number").arg(args[i]));
        } else if (a == QLatin1String("--report") && hasValue) {
            report = args[++i];
        } else if (a == QLatin1String("--pdf") && hasValue) {
            pdfFile = args[++i];
        } else if (a == QLatin1String("--csv") && hasValue) {
            csvFile = args[++i];
        } else if (a == QLatin1String("--balance-at") && hasValue) {
            balanceDate = QDate::fromString(args[++i], QStringLiteral("MM/dd/yyyy"));
            if (!balanceDate.isValid())
                balanceDate = QDate::fromString(args[i], QStringLiteral("M/d/yyyy"));
            if (!balanceDate.isValid())
                return usage(QStringLiteral("the payment date \"%1\" is not a date MM/DD/YYYY").arg(args[i]));
        } else {
            return usage(QStringLiteral("unknown argument \"%1\"").arg(a));
        }
    }
    if (!taxpayer)
        return usage(QStringLiteral("--taxpayer is required"));
    const bool balance = balanceDate.isValid();
    const auto chosen = reports().find(report);
    if (balance && !report.isEmpty())
        return usage(QStringLiteral("give either --report or --balance-at"));
    if (balance && (!pdfFile.isEmpty() || !csvFile.isEmpty()))
        return usage(QStringLiteral("--pdf and --csv go with --report"));
    if (!balance && chosen == reports().end())
        return usage(report.isEmpty() ? QStringLiteral("--report or --balance-at is required")
                                      : QStringLiteral("unknown report \"%1\"").arg(report));

    const QString databaseFile =
        dataDir.isEmpty() ? Settings::databasePath() : QDir(dataDir).filePath(Settings::databaseFileName);
    try {
        SqliteDatabase db(databaseFile);
        const RecordSet rows = db.query(Sql::selectTaxpayer(*taxpayer));
        if (rows.isEmpty())
            return usage(QStringLiteral("there is no taxpayer number %1 in %2")
                             .arg(*taxpayer)
                             .arg(QDir::toNativeSeparators(databaseFile)));
        ConsoleReporter reporter;
        const TaxpayerRecord tp(rows, 0);
        if (!balance) {
            const RunOutcome outcome = chosen->second(db, reporter, tp);
            if (outcome != RunOutcome::Written || (pdfFile.isEmpty() && csvFile.isEmpty()))
                return exitOf(outcome);
            const ReportContent content = loadReport(db, *ReportDefinition::byKey(report), tp, QDate::currentDate());
            try {
                if (!pdfFile.isEmpty())
                    writeReportPdf(content, pdfFile);
                if (!csvFile.isEmpty())
                    writeReportCsv(content, csvFile);
            } catch (const std::exception& e) {
                QTextStream(stderr) << e.what() << '\n';
                return exitStopped;
            }
            return exitWritten;
        }
        CalculationRun::Balances b;
        const RunOutcome outcome = CalculationRun(db, reporter).balanceAt(tp, balanceDate, &b);
        if (outcome == RunOutcome::Written)
            QTextStream(stdout) << "Tax Due: " << balanceText(b.tax) << "\nInterest Due: " << balanceText(b.interest)
                                << "\nPenalties Due: " << balanceText(b.penalties) << '\n';
        return exitOf(outcome);
    } catch (const StoreError& e) {
        QTextStream(stderr) << e.message() << '\n';
        return exitStopped;
    }
}
