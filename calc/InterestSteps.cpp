#include "InterestSteps.h"

#include "Balances.h"
#include "DateMath.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"

#include <algorithm>
#include <cmath>

namespace {
// From this day a corporation's overpayment earns one percentage point less than the table rate.
const QDate corporateOverpaymentRule(1999, 1, 1);
constexpr Rate corporateReduction = Rate::fromMillionths(10000); // one percentage point
} // namespace

InterestSteps::InterestSteps(EventLedger& l, RunReporter& r, const RateTable& underpayment,
                             const RateTable& overpayment, const QDate& org, const QDate& end, bool corp)
    : ledger(l), reporter(r), under(underpayment), over(overpayment), orgduedate(org), endate(end), corporate(corp) {}

void InterestSteps::largeCorporateRate(const RateTable& rates, const QDate& begins) {
    large = &rates;
    largeBegins = begins;
}

void InterestSteps::run() {
    quarterEndRows();
    ledger.sort(EventLedger::Order::DateAscEventAsc);
    eventDateRows();
    ledger.sort(EventLedger::Order::DateAscEventAsc);
    unpaidBalances();
    reporter.progress(60);
    interestPass();
    periodDates();
}

void InterestSteps::quarterEndRows() {
    penmnths = float(DateMath::quarterIndex(endate) - DateMath::quarterIndex(orgduedate) + 1);
    quarterEnds.clear();
    for (int i = 1; i <= int(penmnths); ++i) {
        const QDate quarterEnd = DateMath::endOfPrecedingQuarter(orgduedate.addMonths(3 * i));
        quarterEnds.push_back(quarterEnd);
        const QDate d = endate < quarterEnd ? endate : quarterEnd;
        ledger.add(EventTexts::interest, d, QDate());
    }
    // The large corporate rate starts a period of its own: the one before ends on the day before it.
    if (large && largeBegins.isValid()) {
        const QDate before = largeBegins.addDays(-1);
        if (before > orgduedate && before < endate &&
            std::find(quarterEnds.begin(), quarterEnds.end(), before) == quarterEnds.end()) {
            quarterEnds.push_back(before);
            ledger.add(EventTexts::interest, before, QDate());
        }
    }
}

void InterestSteps::eventDateRows() {
    const std::set<QDate> quarterEndSet(quarterEnds.begin(), quarterEnds.end());
    QDate prior = orgduedate;
    const size_t existing = ledger.rows.size();
    for (size_t i = 0; i < existing; ++i) {
        const QDate d = ledger.rows[i].date;
        if (ledger.rows[i].event == EventTexts::interest || !d.isValid() || d <= orgduedate)
            continue;
        // Interest runs to the end date: a later event ends no period, and the period ending on the end date
        // already has its row, so each day is counted once.
        if (d >= endate)
            continue;
        if (d == prior || quarterEndSet.count(d))
            continue;
        prior = d;
        ledger.add(EventTexts::interest, d, QDate());
    }
}

void InterestSteps::unpaidBalances() {
    Money running;
    for (auto& r : ledger.rows) {
        r.unpaidBalance = Balances::unpaidAfter(running, r);
        running = *r.unpaidBalance;
    }
}

void InterestSteps::interestPass() {
    auto& rows = ledger.rows;
    for (size_t i = 1; i < rows.size(); ++i) {
        const LedgerRow& previous = rows[i - 1];
        const QDate prior = previous.date;
        rows[i].accruedInterest = Balances::interestAfter(val(previous.accruedInterest), previous);
        if (rows[i].event != EventTexts::interest)
            continue;
        computePeriod(rows[i], prior);
    }
}

void InterestSteps::computePeriod(LedgerRow& row, const QDate& prior) {
    const Money base = val(row.unpaidBalance) + val(row.accruedInterest);
    const bool largeRate = large && largeBegins.isValid() && row.date >= largeBegins && base > Money();
    const RateTable& table = largeRate ? *large : (base >= Money() ? under : over);
    const RateTable::Period* period = table.find(row.date);
    if (!period || !period->rate)
        throw RunStop(Messages::missingRate + QLatin1Char(' ') + table.lacking(row.date));
    Rate ir = *period->rate;
    if (corporate && base < Money() && row.date >= corporateOverpaymentRule)
        ir = ir - corporateReduction;
    row.interestRate = ir;

    const int daysinyr = DateMath::daysInYear(row.date.year());
    const QDate start = (prior.isValid() && prior >= orgduedate) ? prior : orgduedate;
    const int daystocmpd = int(start.daysTo(row.date));
    row.days = daystocmpd;

    const double intfac = std::pow(1.0 + ir.toDouble() / double(daysinyr), double(daystocmpd)) - 1.0;
    if (!std::isfinite(intfac))
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    row.interestFactor = intfac;
    row.interest = base.timesFactor(intfac);
}

void InterestSteps::periodDates() {
    for (auto& r : ledger.rows)
        if (r.event == EventTexts::interest)
            r.date2 = r.date;
    ledger.sort(EventLedger::Order::DeleteAscDateAscEventAsc);
    auto& rows = ledger.rows;
    for (size_t i = rows.size(); i-- > 0;) {
        if (rows[i].event != EventTexts::interest)
            continue;
        if (i == 0)
            break;
        rows[i].date = rows[i - 1].date2.addDays(1);
    }
}
