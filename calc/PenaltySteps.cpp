#include "PenaltySteps.h"

#include "Balances.h"
#include "DateMath.h"
#include "Labels.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"

#include <algorithm>

using DateMath::monthDiff;

namespace {

constexpr Rate accuracyRate = Rate::fromMillionths(200000);     // 20 %
constexpr Rate normalRate = Rate::fromMillionths(5000);         // 0.5 % a month
constexpr Rate increasedRate = Rate::fromMillionths(10000);     // 1 %
constexpr Rate decreasedRate = Rate::fromMillionths(2500);      // 0.25 %
constexpr Rate failureToFileRate = Rate::fromMillionths(50000); // 5 %
constexpr int failureToFileMonths = 5;
constexpr float penaltyPointLimit = 25;
constexpr qint64 minimumDays = 60;

// `admnth` counts when the day of `change` is at least (or, strictly, above) the day of `from`.
float partial(float admnth, const QDate& change, const QDate& from, bool strictly) {
    return (strictly ? change.day() > from.day() : change.day() >= from.day()) ? admnth : 0.f;
}

} // namespace

PenaltySteps::PenaltySteps(const TaxpayerCase& taxpayer, EventLedger& l, RunReporter& r, const FailureToFileMinimum& m)
    : PenaltySteps(taxpayer, l, r, m, Options()) {}

PenaltySteps::PenaltySteps(const TaxpayerCase& taxpayer, EventLedger& l, RunReporter& r, const FailureToFileMinimum& m,
                           Options o)
    : tp(taxpayer), ledger(l), reporter(r), minimum(m), options(o) {}

bool PenaltySteps::increased() const {
    return tp.increasedFailureToPay;
}
bool PenaltySteps::decreased() const {
    return options.decreasedRate && tp.decreasedFailureToPay;
}

void PenaltySteps::partialMonth() {
    admnth = 0;
    const QDate end = tp.endDate;
    if (!tp.payroll && end.isValid() && end.day() >= 16)
        admnth = 1;
}

void PenaltySteps::accuracyRelated() {
    if (!tp.accuracyRelated)
        return;
    const auto underpayment = tp.accuracyUnderpayment;
    if (options.accuracyChecks && !underpayment)
        throw RunStop(Messages::missing(Labels::accuracyUnderpayment));
    const QDate ext =
        options.accuracyChecks ? Messages::required(tp.extendedDueDate, Labels::extendedDueDate) : tp.extendedDueDate;
    LedgerRow& row = ledger.add(EventTexts::accuracy, ext, ext);
    if (underpayment)
        row.accuracyRelatedPenalty = underpayment->times(accuracyRate);
}

void PenaltySteps::failureToPaySchedule() {
    if (!tp.failureToPay)
        return;
    const QDate org = tp.originalDueDate;
    const QDate end = tp.endDate;
    const bool inc = increased();
    const bool dec = decreased();
    PenDate = org.addDays(1);

    // The months before and after each change of rate.
    if (inc && !dec) {
        IncrFPPDate = Messages::required(tp.increasedFailureToPayBegins, Labels::increasedFailureToPayBegins);
        TotPenMnthsPreIncrease = float(monthDiff(PenDate, IncrFPPDate)) + partial(admnth, IncrFPPDate, PenDate, false);
        TotPenMnthsPostIncrease = float(monthDiff(IncrFPPDate, end));
    } else if (dec && !inc) {
        DcrsFPPDate = Messages::required(tp.decreasedFailureToPayBegins, Labels::decreasedFailureToPayBegins);
        TotPenMnthsPreDecrease = float(monthDiff(PenDate, DcrsFPPDate)) + partial(admnth, DcrsFPPDate, PenDate, false);
        TotPenMnthsPostDecrease = float(monthDiff(DcrsFPPDate, end));
    } else if (inc && dec) {
        IncrFPPDate = Messages::required(tp.increasedFailureToPayBegins, Labels::increasedFailureToPayBegins);
        DcrsFPPDate = Messages::required(tp.decreasedFailureToPayBegins, Labels::decreasedFailureToPayBegins);
        if (IncrFPPDate == DcrsFPPDate)
            throw RunStop(Messages::sameChangeDates);
        const float mend = float(monthDiff(PenDate, end));
        if (decreaseFirst()) {
            TotPenMnthsPreIncrease =
                float(monthDiff(PenDate, DcrsFPPDate)) + partial(admnth, DcrsFPPDate, PenDate, false);
            TotPenMnthsPostDecrease = float(monthDiff(PenDate, IncrFPPDate)) +
                                      partial(admnth, IncrFPPDate, PenDate, false) - TotPenMnthsPreIncrease;
            TotPenMnthsPostIncrease = mend - TotPenMnthsPostDecrease - TotPenMnthsPreIncrease;
        } else {
            TotPenMnthsPreIncrease =
                float(monthDiff(PenDate, IncrFPPDate)) + partial(admnth, IncrFPPDate, PenDate, true);
            TotPenMnthsPostIncrease = float(monthDiff(PenDate, DcrsFPPDate)) +
                                      partial(admnth, DcrsFPPDate, PenDate, true) - TotPenMnthsPreIncrease;
            TotPenMnthsPostDecrease = mend - TotPenMnthsPostIncrease - TotPenMnthsPreIncrease;
        }
    }
    LastPenaltyHalfPercent = false;
    PenDate = org.addDays(1);
    TotFPPenMnths = float(monthDiff(PenDate, end)) + admnth;

    limitToTwentyFivePercent();

    // One row a month; the amounts come later.
    const qint16 months = Rounding::toInt16(std::max(0.f, TotFPPenMnths));
    for (int line = 1; line <= months; ++line) {
        ledger.add(EventTexts::failureToPay, PenDate, PenDate);
        PenDate = DateMath::addMonth(PenDate);
    }
}

void PenaltySteps::limitToTwentyFivePercent() {
    const bool inc = increased();
    const bool dec = decreased();
    for (;;) {
        if (!inc && !dec)
            TotalPenPoints = TotFPPenMnths * 0.5f;
        else if (inc && !dec)
            TotalPenPoints = TotPenMnthsPreIncrease * 0.5f + TotPenMnthsPostIncrease * 1.f;
        else if (dec && !inc)
            TotalPenPoints = TotPenMnthsPreDecrease * 0.5f + TotPenMnthsPostDecrease * 0.25f;
        else
            TotalPenPoints =
                TotPenMnthsPreIncrease * 0.5f + TotPenMnthsPostDecrease * 0.25f + TotPenMnthsPostIncrease * 1.f;
        if (!(TotalPenPoints > penaltyPointLimit))
            break;
        // One month off the latest phase.
        if (!inc && !dec) {
            TotFPPenMnths -= 1;
        } else if (inc && !dec) {
            (TotPenMnthsPostIncrease > 0 ? TotPenMnthsPostIncrease : TotPenMnthsPreIncrease) -= 1;
        } else if (dec && !inc) {
            (TotPenMnthsPostDecrease > 0 ? TotPenMnthsPostDecrease : TotPenMnthsPreDecrease) -= 1;
        } else if (decreaseFirst()) {
            if (TotPenMnthsPostIncrease > 0)
                TotPenMnthsPostIncrease -= 1;
            else if (TotPenMnthsPostDecrease > 0)
                TotPenMnthsPostDecrease -= 1;
            else
                TotPenMnthsPreIncrease -= 1;
        } else {
            if (TotPenMnthsPostDecrease > 0)
                TotPenMnthsPostDecrease -= 1;
            else if (TotPenMnthsPostIncrease > 0)
                TotPenMnthsPostIncrease -= 1;
            else
                TotPenMnthsPreIncrease -= 1;
        }
    }

    if (!inc && !dec)
        return;
    const bool atLimit = TotalPenPoints == penaltyPointLimit;
    if (inc && !dec) {
        TotFPPenMnths = TotPenMnthsPreIncrease + TotPenMnthsPostIncrease + (atLimit ? 0.f : 1.f);
        if (!atLimit)
            LastPenaltyHalfPercent = true;
    } else if (dec && !inc) {
        TotFPPenMnths = TotPenMnthsPreDecrease + TotPenMnthsPostDecrease + (atLimit ? 0.f : 1.f);
    } else {
        TotFPPenMnths =
            TotPenMnthsPreIncrease + TotPenMnthsPostIncrease + TotPenMnthsPostDecrease + (atLimit ? 0.f : 1.f);
        if (!atLimit && TotalPenPoints >= 24.5f && decreaseFirst())
            LastPenaltyHalfPercent = true;
    }
}

void PenaltySteps::failureToFileRows() {
    partialMonth();
    if (!tp.failureToFile)
        return;
    const QDate end = tp.endDate;
    const QDate filed = tp.dateReturnFiled;
    const QDate ext = tp.extendedDueDate;
    // The period ends when the return was filed, or at the end date when that comes first (or nothing was filed).
    const bool filedBeforeEnd = filed.isValid() && end > filed;
    const QDate periodEnd = filedBeforeEnd ? filed : end;
    if (!ext.isValid())
        throw RunStop(Messages::missing(Labels::extendedDueDate));

    // Months or parts of months after the extended due date: a month of lateness ends on the day that corresponds
    // to the due date (on the last day of a month without that day), whatever the End Date.
    const int months = monthDiff(ext, periodEnd);
    const int partOfMonth = periodEnd.day() > std::min(ext.day(), periodEnd.daysInMonth()) ? 1 : 0;
    int count = (months == 0 && DateMath::dayDiff(ext, periodEnd) > 0) ? 1 : months + partOfMonth;
    TotPenMnths = Rounding::toInt16(std::min(count, failureToFileMonths));
    PenDate = ext.addDays(1);
    for (int line = 1; line <= TotPenMnths; ++line) {
        ledger.add(EventTexts::failureToFile, PenDate, PenDate);
        PenDate = DateMath::addMonth(PenDate);
    }
}

void PenaltySteps::amounts() {
    ledger.runningTaxBalance(); // the tax unpaid under each row, which the failure-to-pay months are figured on
    failureToPayAmounts();
    failureToFileBase();
    failureToFileMinimum(failureToFileAmounts());
    ledger.runningTaxBalance(); // and again, for the rows the report shows
}

std::optional<Rate> PenaltySteps::failureToPayRate(const LedgerRow& row) const {
    const bool inc = increased();
    const bool dec = decreased();
    const float m = MnthsCalculated;
    const float t = TotFPPenMnths;
    const bool h = LastPenaltyHalfPercent;
    if (!inc && !dec)
        return normalRate;
    if (inc && !dec) {
        if (m <= TotPenMnthsPreIncrease)
            return normalRate;
        if (m <= t && !h)
            return increasedRate;
        if (m < t && h)
            return increasedRate;
        if (m == t && h)
            return normalRate;
        return std::nullopt;
    }
    if (dec && !inc) {
        if (m <= TotPenMnthsPreDecrease)
            return normalRate;
        if (m <= t)
            return decreasedRate;
        return std::nullopt;
    }
    // Both changes: the dates are read from the row again.
    const QDate incr = tp.increasedFailureToPayBegins;
    const QDate dcrs = tp.decreasedFailureToPayBegins;
    const QDate d = row.date;
    const bool lastAtIncreased = m < t || (m == t && !h);
    if (incr > dcrs) {
        if (d < dcrs)
            return normalRate;
        if (dcrs <= d && d <= incr)
            return decreasedRate;
        if (d > incr && lastAtIncreased)
            return increasedRate;
        if (d > incr && m == t && h)
            return normalRate;
        return std::nullopt;
    }
    if (d < incr)
        return normalRate;
    if (incr <= d && d < dcrs && lastAtIncreased)
        return increasedRate;
    if (d >= incr && m == t && h)
        return normalRate;
    if (d >= dcrs && m <= t)
        return decreasedRate;
    return std::nullopt;
}

void PenaltySteps::failureToPayAmounts() {
    ledger.sort(EventLedger::Order::DateAscEventDesc);
    MnthsCalculated = 0;
    const bool on = tp.failureToPay;
    for (auto& row : ledger.rows) {
        if (!on || !(val(row.tax) > Money()))
            continue;
        if (row.event != EventTexts::failureToPay)
            continue;
        MnthsCalculated += 1;
        if (const auto rate = failureToPayRate(row))
            row.failureToPayPenalty = val(row.tax).times(*rate);
    }
}

void PenaltySteps::failureToFileBase() {
    ledger.sort(EventLedger::Order::DateAscEventAsc);
    const bool payroll = tp.payroll;
    const QDate org = tp.originalDueDate;
    Money unpaid;
    for (auto& row : ledger.rows) {
        row.tax = Balances::failureToFileBaseAfter(unpaid, row, payroll, org);
        unpaid = *row.tax;
    }
}

Money PenaltySteps::failureToFileAmounts() {
    ledger.sort(EventLedger::Order::DateAscEventDesc);
    Money latestFailureToPay;
    Money sum;
    const bool on = tp.failureToFile;
    for (auto& row : ledger.rows) {
        if (val(row.failureToPayPenalty) > Money())
            latestFailureToPay = *row.failureToPayPenalty;
        if (on && row.event == EventTexts::failureToFile) {
            row.failureToFilePenalty = val(row.tax).times(failureToFileRate) - latestFailureToPay;
            sum += *row.failureToFilePenalty;
        }
    }
    return sum;
}

// A return filed more than 60 days late: the failure-to-file penalty is not less than the lesser of the year's
// amount and the net amount due (the tax the failure-to-file rows are figured on); a net amount due of 0 gives none.
void PenaltySteps::failureToFileMinimum(Money sum) {
    if (tp.payroll || !tp.failureToFile)
        return;
    const QDate filed = Messages::required(tp.dateReturnFiled, Labels::dateReturnFiled);
    const QDate ext = tp.extendedDueDate;
    DaysOverDue = Rounding::toInt16(double(DateMath::dayDiff(ext, filed)));
    if (!(DaysOverDue > minimumDays))
        return;
    auto& rows = ledger.rows;
    const auto first =
        std::find_if(rows.begin(), rows.end(), [](const LedgerRow& r) { return r.event == EventTexts::failureToFile; });
    if (first == rows.end())
        return;
    const std::optional<Money> amount = minimum.amountFor(ext.year());
    if (!amount)
        throw RunStop(QStringLiteral("The failure-to-file minimums are missing from this database: the penalty of a "
                                     "return filed more than 60 days late cannot be figured."));
    const Money least = std::min(*amount, val(first->tax));
    if (!(least > Money() && sum < least))
        return;
    first->failureToFilePenalty = least;
    for (auto later = first + 1; later != rows.end(); ++later)
        if (later->event == EventTexts::failureToFile)
            later->deleteFlag = true;
    ledger.removeDeleted();
}

void PenaltySteps::gatherFailureToPay() {
    if (!tp.failureToPay)
        return;
    FPPAssDate = Messages::required(tp.failureToPayAssessment, Labels::failureToPayAssessment);
    Money total;
    for (auto& row : ledger.rows) {
        if (row.event == EventTexts::failureToPay && row.date.isValid() && row.date <= FPPAssDate) {
            total += val(row.failureToPayPenalty);
            row.deleteFlag = true;
        }
    }
    reporter.progress(40);
    ledger.removeDeleted();
    if (FPPAssDate <= tp.endDate)
        ledger.add(EventTexts::failureToPay, FPPAssDate, FPPAssDate).failureToPayPenalty = total;
}

void PenaltySteps::gatherFailureToFile() {
    if (!tp.failureToFile)
        return;
    Money sum;
    for (auto& row : ledger.rows) {
        if (row.event == EventTexts::failureToFile) {
            sum += val(row.failureToFilePenalty);
            row.deleteFlag = true;
        }
    }
    ledger.removeDeleted();
    const QDate ext = tp.extendedDueDate;
    ledger.add(EventTexts::failureToFile, ext, ext).failureToFilePenalty = sum;
}
