#include "DepositReportRun.h"

#include "CalculationRun.h"
#include "DepositPenalty.h"
#include "Labels.h"
#include "ResultRows.h"
#include "RunReporter.h"
#include "RunStop.h"

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

RunOutcome DepositReportRun::run(const TaxpayerCase& tp) {
    return guardedRun(&db, reporter, [&] {
        reporter.progressVisible(true);
        requireAmountsInRange(tp);
        Messages::required(tp.originalDueDate, Labels::originalDueDate);
        Messages::required(tp.startDate, Labels::quarterStartDate);
        const QDate end = Messages::required(tp.endDate, Labels::endDate);
        if (tp.deposits.empty())
            throw RunNotice(Messages::noDeposits);

        ReportProgress progress(reporter);
        deposits = CalculateDepositPenalty(tp, end, true, reporter, &progress);
        ResultRows::deposit(deposits).write(db);
    });
}
