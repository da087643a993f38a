// Runs the program's calculation runs without a window, for automation and tests:
//
//   talvoro-run --data-dir DIR --taxpayer N --report interest|summary|penalty
//
// Every text the run would show in a message box or notice goes to standard error, one line each; a report timer
// the run arms is printed on standard output as its name and interval ("Timer7 9800").
// Exit status: 0 the run wrote its result, 1 it ended through a message or failure, 2 bad arguments or an unknown
// taxpayer.

#include "CalculationRun.h"
#include "RunReporter.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TaxpayerRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

class ConsoleReporter : public RunReporter {
public:
    void message(const QString& text) override { err() << text << '\n'; }
    void notice(const QString& text) override { err() << text << '\n'; }
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
        << "usage: talvoro-run [--data-dir DIR] --taxpayer N --report interest|summary|penalty\n";
    return exitUsage;
}

int exitOf(CalculationRun::Outcome o) {
    return o == CalculationRun::Outcome::Written ? exitWritten : exitStopped;
}

using Report = std::function<CalculationRun::Outcome(CalculationRun&, const TaxpayerRecord&)>;

const std::map<QString, Report>& reports() {
    static const std::map<QString, Report> table = {
        {QStringLiteral("interest"),
         [](CalculationRun& run, const TaxpayerRecord& tp) {
             return run.interestReport(tp, CalculationRun::interestCode);
         }},
        {QStringLiteral("summary"),
         [](CalculationRun& run, const TaxpayerRecord& tp) {
             return run.interestReport(tp, CalculationRun::summaryCode);
         }},
        {QStringLiteral("penalty"),
         [](CalculationRun& run, const TaxpayerRecord& tp) { return run.penaltyReport(tp); }},
    };
    return table;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString dataDir, report;
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
        } else {
            return usage(QStringLiteral("unknown argument \"%1\"").arg(a));
        }
    }
    if (!taxpayer)
        return usage(QStringLiteral("--taxpayer is required"));
    const auto chosen = reports().find(report);
    if (chosen == reports().end())
        return usage(report.isEmpty() ? QStringLiteral("--report is required")
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
        CalculationRun run(db, reporter);
        return exitOf(chosen->second(run, TaxpayerRecord(rows, 0)));
    } catch (const StoreError& e) {
        QTextStream(stderr) << e.message() << '\n';
        return exitStopped;
    }
}
