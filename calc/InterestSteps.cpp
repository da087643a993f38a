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

void InterestSteps::largeCorporateRate(const RateTable& rates, const QDate& applicable) {
    large = &rates;
    largeBegins = applicable.isValid() ? applicable.addDays(1) : QDate();
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
    // The large corporate rate starts a row of its own: the one before ends on the applicable date.
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

// A balance period runs from the due date, or from an event row, to the next event row: every row that is not an
// interest row (a payment, a charge, a penalty, a deposit) changes what is owed and ends it. Within it the daily
// factors multiply without rounding, across quarter ends, rate changes and year ends; the interest of the period is
// its base times the product less one, rounded to the cent once (IRC 6622; as the IRS computes it). Each interest row
// shows its part: the period's rounded interest at the row's end less that at its start.
void InterestSteps::interestPass() {
    auto& rows = ledger.rows;
    BalancePeriod period;
    for (size_t i = 1; i < rows.size(); ++i) {
        const LedgerRow& previous = rows[i - 1];
        const QDate prior = previous.date;
        rows[i].accruedInterest = Balances::interestAfter(val(previous.accruedInterest), previous);
        if (rows[i].event != EventTexts::interest) {
            period.open = false;
            continue;
        }
        computePeriod(rows[i], prior, period);
    }
}

void InterestSteps::computePeriod(LedgerRow& row, const QDate& prior, BalancePeriod& period) {
    if (!period.open) {
        // The balance that bears interest, with the interest accrued so far, at the period's start.
        period = {true, val(row.unpaidBalance) + val(row.accruedInterest), 1.0, Money()};
    }
    const Money base = period.base;
    const bool largeRate = large && largeBegins.isValid() && row.date >= largeBegins && base > Money();
    const RateTable& table = largeRate ? *large : (base >= Money() ? under : over);
    const RateTable::Period* found = table.find(row.date);
    if (!found || !found->rate)
        throw RunStop(Messages::missingRate + QLatin1Char(' ') + table.lacking(row.date));
    Rate ir = *found->rate;
    if (corporate && base < Money() && row.date >= corporateOverpaymentRule)
        ir = ir - corporateReduction;
    row.interestRate = ir;

    const int daysinyr = DateMath::daysInYear(row.date.year());
    const QDate start = (prior.isValid() && prior >= orgduedate) ? prior : orgduedate;
    const int daystocmpd = int(start.daysTo(row.date));
    row.days = daystocmpd;

    // The row's days compound at its rate (one rate and one length of year: rows end at every quarter end).
    const double growth = std::pow(1.0 + ir.toDouble() / double(daysinyr), double(daystocmpd));
    period.product *= growth;
    if (!std::isfinite(period.product))
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    row.interestFactor = growth - 1.0;
    const Money toDate = base.timesFactor(period.product - 1.0);
    row.interest = toDate - period.rounded;
    period.rounded = toDate;
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
