#include "InterestSteps.h"

#include "Balances.h"
#include "DateMath.h"
#include "MoneyText.h"
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

void InterestSteps::largeCorporateOverpaymentRate(const RateTable& rates, Money threshold, const QDate& after,
                                                  bool takesFirst) {
    gatt = &rates;
    gattThreshold = threshold;
    gattAfter = after;
    refundTakesFirstPart = takesFirst;
}

void InterestSteps::partRates(std::vector<PartRate> given) {
    parts = std::move(given);
    std::sort(parts.begin(), parts.end(), [](const PartRate& a, const PartRate& b) { return a.first < b.first; });
}

void InterestSteps::run() {
    quarterEndRows();
    partDateRows();
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

// A part at another rate begins after a row ends and ends with a row: the days before and after it compound at the
// balance's own rate.
void InterestSteps::partDateRows() {
    std::set<QDate> ends(quarterEnds.begin(), quarterEnds.end());
    auto cut = [&](const QDate& d) {
        if (d > orgduedate && d < endate && ends.insert(d).second) {
            quarterEnds.push_back(d);
            ledger.add(EventTexts::interest, d, QDate());
        }
    };
    for (const auto& part : parts) {
        cut(part.first.addDays(-1));
        cut(part.last);
    }
    for (const auto& d : cuts)
        cut(d);
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
    firstPartLeft = gattThreshold;
    nextPart = 0;
    for (size_t i = 1; i < rows.size(); ++i) {
        const LedgerRow& previous = rows[i - 1];
        const QDate prior = previous.date;
        rows[i].accruedInterest = Balances::interestAfter(val(previous.accruedInterest), previous);
        if (rows[i].event != EventTexts::interest) {
            if (rows[i].event == EventTexts::refund)
                refundRow(rows[i], previous);
            period.open = false;
            continue;
        }
        computePeriod(rows[i], prior, period);
    }
}

// A refund (or a credit out) takes the amount refunded from the overpayment, and with it the interest allowed on
// that amount to its interest-to date: all of it when the whole overpayment goes, a share in proportion otherwise.
void InterestSteps::refundRow(LedgerRow& row, const LedgerRow& before) {
    const Money refunded = -val(row.paymentAllocatedToTax);
    const Money owed = -val(before.unpaidBalance);
    if (refunded > owed)
        throw RunStop(QStringLiteral("The refund made %1 (%2) is larger than the overpayment of %3 the taxpayer is "
                                     "owed on its interest-to date %4. Enter the overpayment refunded, without the "
                                     "interest paid with it.")
                          .arg(row.date2.toString(QStringLiteral("MM/dd/yyyy")), groupedDecimal(refunded.cents(), 2),
                               groupedDecimal(std::max(owed, Money()).cents(), 2),
                               row.date.toString(QStringLiteral("MM/dd/yyyy"))));
    const Money credit = val(row.accruedInterest);
    Money allowed;
    if (credit < Money())
        allowed = refunded == owed ? credit : credit.timesFactor(double(refunded.cents()) / double(owed.cents()));
    row.paymentAllocatedToInterest = allowed;
    row.interest = std::nullopt;
    if (refundTakesFirstPart)
        firstPartLeft = firstPartLeft - std::min(firstPartLeft, refunded);
}

Rate InterestSteps::rateOf(const RateTable& table, const QDate& day, bool corporateOverpayment) const {
    const RateTable::Period* found = table.find(day);
    if (!found || !found->rate)
        throw RunStop(Messages::missingRate + QLatin1Char(' ') + table.lacking(day));
    Rate ir = *found->rate;
    if (corporateOverpayment && day >= corporateOverpaymentRule)
        ir = ir - corporateReduction;
    return ir;
}

void InterestSteps::computePeriod(LedgerRow& row, const QDate& prior, BalancePeriod& period) {
    const QDate start = (prior.isValid() && prior >= orgduedate) ? prior : orgduedate;
    if (!period.open) {
        // The balance that bears interest, with the interest accrued so far, at the period's start.
        period = BalancePeriod{};
        period.open = true;
        period.base = val(row.unpaidBalance) + val(row.accruedInterest);
        // A corporation's overpayment above the threshold: the first part, as much as refunds have left of it, earns
        // the corporate rate, the rest the lower rate.
        // An overpayment that is gone takes the refunds' share of the threshold with it: a later one has it whole.
        if (period.base >= Money())
            firstPartLeft = gattThreshold;
        else if (corporate && !gatt && !gattUnknown.isEmpty())
            throw RunStop(gattUnknown);
        if (gatt && corporate && period.base < Money()) {
            const Money above = period.base + std::min(-period.base, firstPartLeft);
            if (above != Money())
                period.tranches.push_back({above, 1.0, 1.0, nullptr});
        }
    }
    // A part at another rate that begins with this row: its amount is of the balance as it stands, with its
    // interest to date, and never more than what the parts under way have left of it.
    while (nextPart < parts.size() && parts[nextPart].first <= start.addDays(1)) {
        const PartRate& part = parts[nextPart++];
        if (part.first != start.addDays(1))
            throw RunStop(QStringLiteral("A netted part from %1 does not begin with a day of interest of this "
                                         "return.")
                              .arg(part.first.toString(QStringLiteral("MM/dd/yyyy"))));
        if (part.amount == Money() || !part.rates)
            continue;
        const bool negative = part.amount < Money();
        Money available = negative ? -(period.base + period.rounded) : period.base + period.rounded;
        for (const auto& t : period.tranches)
            if (t.part && t.part->last >= part.first)
                available -= negative ? -t.amount : t.amount;
        const Money size = std::min(negative ? -part.amount : part.amount, std::max(available, Money()));
        if (size > Money())
            period.tranches.push_back({negative ? -size : size, 1.0, 1.0, &part});
    }
    const Money base = period.base;
    const bool largeRate = large && largeBegins.isValid() && row.date >= largeBegins && base > Money();
    const RateTable& table = largeRate ? *large : (base >= Money() ? under : over);
    const Rate ir = rateOf(table, row.date, corporate && base < Money());
    row.interestRate = ir;

    const int daysinyr = DateMath::daysInYear(row.date.year());
    const int daystocmpd = int(start.daysTo(row.date));
    row.days = daystocmpd;

    // The row's days compound at its rate (one rate and one length of year: rows end at every quarter end).
    auto growthAt = [&](Rate r) { return std::pow(1.0 + r.toDouble() / double(daysinyr), double(daystocmpd)); };
    const double growth = growthAt(ir);
    period.product *= growth;
    // The lower rate is looked up only for a row that has a part above the threshold.
    const bool anyAbove = std::any_of(period.tranches.begin(), period.tranches.end(),
                                      [](const Tranche& t) { return !t.part || t.part->ownAbove; });
    const double aboveGrowth =
        anyAbove && gatt && row.date > gattAfter ? growthAt(rateOf(*gatt, row.date, false)) : growth;
    double cents = double(base.cents()) * (period.product - 1.0);
    for (auto& t : period.tranches) {
        const bool fromAbove = !t.part || t.part->ownAbove;
        const double own = fromAbove ? aboveGrowth : growth;
        t.ownProduct *= own;
        if (!t.part) {
            t.product *= aboveGrowth;
            t.ownProduct = period.product;
        } else if (row.date <= t.part->last) {
            const PartRate& part = *t.part;
            const bool switched = part.ratesFrom && part.switchDay.isValid() && row.date >= part.switchDay;
            t.product *=
                growthAt(rateOf(switched ? *part.ratesFrom : *part.rates, row.date, part.corporateOverpayment));
            // The part's interest at the other rate is a line of its own, rounded where the part ends (as the IRS
            // shows it); what goes on at the own rate is the amount with that rounded interest.
            if (row.date == part.last && t.amount != Money()) {
                const Money line = t.amount.timesFactor(t.product - 1.0);
                t.product = double((t.amount + line).cents()) / double(t.amount.cents());
            }
        } else {
            t.product *= own;
        }
        cents += double(t.amount.cents()) * (t.product - t.ownProduct);
    }
    if (!std::isfinite(cents))
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    row.interestFactor = growth - 1.0;
    const Money toDate = period.tranches.empty() ? base.timesFactor(period.product - 1.0) : Money::ofCents(cents);
    row.interest = toDate - period.rounded;
    period.rounded = toDate;
}

void InterestSteps::periodDates() {
    for (auto& r : ledger.rows)
        if (r.event == EventTexts::interest)
            r.date2 = r.date;
    // An interest row after a refund starts the day after its interest-to date (its date; the refund was made on
    // its second date).
    const auto lastDay = [](const LedgerRow& r) { return r.event == EventTexts::refund ? r.date : r.date2; };
    ledger.sort(EventLedger::Order::DeleteAscDateAscEventAsc);
    auto& rows = ledger.rows;
    for (size_t i = rows.size(); i-- > 0;) {
        if (rows[i].event != EventTexts::interest)
            continue;
        if (i == 0)
            break;
        rows[i].date = lastDay(rows[i - 1]).addDays(1);
    }
}
