#include "DepositReportRun.h"

#include "Database.h"
#include "DepositPenalty.h"
#include "Names.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "Statements.h"
#include "TaxpayerRecord.h"

namespace {

// The progress bar follows the calculation's steps.
class ReportProgress : public DepositProgress {
public:
    explicit ReportProgress(RunReporter& r) : reporter(r) {}
    void before(Step s) override {
        if (s == Step::Balances)
            reporter.progress(40);
        else if (s == Step::UnpaidRows)
            reporter.progress(60);
        else if (s == Step::DaysOverdue)
            reporter.progress(80);
    }
    void after(Step s) override {
        if (s == Step::Totals)
            reporter.progress(20);
        else if (s == Step::Penalties)
            reporter.progress(100);
    }

private:
    RunReporter& reporter;
};

} // namespace

DepositReportRun::DepositReportRun(Database& database, RunReporter& r) : db(database), reporter(r) {}

RunOutcome DepositReportRun::run(const TaxpayerRecord& tp) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        tp.requiredDate(Columns::originalDueDateOfReturn, Columns::originalDueDateOfReturn);
        tp.requiredDate(Columns::startDate, QStringLiteral("Quarter Start Date"));
        const QDate end = tp.requiredDate(Columns::endDate, Columns::endDate);
        if (db.query(Sql::selectDepositsOf(tp.number())).isEmpty())
            throw RunNotice(Messages::noDeposits);

        ReportProgress progress(reporter);
        deposits = CalculateDepositPenalty(db, tp.number(), end, true, reporter, &progress);

        Transaction t(db);
        db.exec(Sql::deleteAll(Tables::events));
        for (const auto& r : deposits.rows) {
            db.exec(Sql::insertDepositEvent(r.requiredDepositNumber.value_or(0), r.date, r.event,
                                            float(val(r.requiredDeposit)), float(val(r.amountOfPayment)),
                                            float(val(r.unpaidBalance)), float(val(r.daysOverdue)),
                                            float(val(r.penaltyPercentage)), float(val(r.penalty))));
        }
        written = db.query(Sql::reportDepositQuery());
        t.commit();
        reporter.armTimer(QStringLiteral("Timer6"), reportTimerMs);
    });
}
