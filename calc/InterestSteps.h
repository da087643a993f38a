#pragma once

#include "EventLedger.h"
#include "RateTable.h"

#include <set>

class RunReporter;

// Interest: cuts the time from the original due date to the end date into rows (calendar quarters, cut again at every
// event date), carries the unpaid balance and the accrued interest from row to row, compounds each row's days daily at
// the rate in force on its last day, and rounds once per balance period (from one event to the next).
class InterestSteps {
public:
    InterestSteps(EventLedger& ledger, RunReporter& reporter, const RateTable& underpayment,
                  const RateTable& overpayment, const QDate& orgduedate, const QDate& endate, bool corporate);

    // A large corporate underpayment (IRC 6621(c)(1): "for periods after the applicable date", the 30th day after the
    // letter or notice): an interest row ends on `applicable`, and from the day after, a positive balance takes its
    // rate from `rates`.
    void largeCorporateRate(const RateTable& rates, const QDate& applicable);

    // A corporation's overpayment above `threshold`, for periods after `after` (IRC 6621(a)(1), last sentence),
    // earns the rate of `rates`; the first `threshold` earns the corporate overpayment rate. Each part compounds its
    // own interest within a balance period; the two are added and rounded once. With `refundTakesFirstPart`, a
    // refund takes the overpayment's first `threshold` with it before the part above it; otherwise what remains keeps
    // the first `threshold`.
    void largeCorporateOverpaymentRate(const RateTable& rates, Money threshold, const QDate& after,
                                       bool refundTakesFirstPart);
    // The same when the law's figures could not be read: a corporation's overpayment stops the run with `why`.
    void largeCorporateOverpaymentUnknown(const QString& why) { gattUnknown = why; }

    // Another rate on part of the balance (a netting's: an underpayment charged at the overpayment rate, or an
    // overpayment credited at the underpayment rate): from `first` to `last`, `amount` of the balance as it stands on
    // the day before `first`, with its interest, compounds at the rates of `rates` (from `switchDay` on, of
    // `ratesFrom`) instead of its own, and at its own after `last`, to the end of its balance period. Its own rate is
    // the balance's, or with `ownAbove` the rate of the part of a corporate overpayment above the threshold. The part
    // lies within one balance period: no event of the case falls inside it. Its interest at the other rate is rounded
    // where it ends, a line of its own (the period's interest is still rounded once); and it is never more than the
    // balance of its sign, with its interest, that the parts under way leave.
    struct PartRate {
        QDate first;
        QDate last;
        Money amount; // of the balance's sign
        const RateTable* rates = nullptr;
        bool corporateOverpayment = false; // `rates` as a corporation earns the overpayment rate (one point less)
        const RateTable* ratesFrom = nullptr;
        QDate switchDay;
        bool ownAbove = false;
    };
    void partRates(std::vector<PartRate> parts);
    // Interest rows that end on these days as well (a netting cuts every return of a client at the same days); a row
    // changes no rounding.
    void cutAt(std::vector<QDate> days) { cuts = std::move(days); }

    // Cuts the periods, carries the balances and computes every period's interest; leaves the ledger in the order
    // "[Delete] ASC,[Date] ASC, [Event] ASC".
    void run();

    float penmnths = 0;
    std::vector<QDate> quarterEnds;

private:
    EventLedger& ledger;
    RunReporter& reporter;
    const RateTable& under;
    const RateTable& over;
    QDate orgduedate;
    QDate endate;
    bool corporate;
    const RateTable* large = nullptr;
    QDate largeBegins; // the first day at the large corporate rate
    const RateTable* gatt = nullptr;
    Money gattThreshold;
    QDate gattAfter;
    bool refundTakesFirstPart = false;
    QString gattUnknown;
    Money firstPartLeft; // of the threshold, what refunds have not taken
    std::vector<PartRate> parts;
    size_t nextPart = 0; // the first part not begun
    std::vector<QDate> cuts;

    void quarterEndRows(); // an interest row at every quarter end to the end date (and the large corporate date)
    void eventDateRows();  // an interest row at every event date that no quarter end has
    void unpaidBalances(); // the balance that bears interest after each row
    void interestPass();   // the accrued interest carried down, and each interest row's period computed
    void periodDates();    // each interest row's first day: the day after the row before it
    // The balance period under way: its base, the product of its daily factors so far, and its interest to date as
    // rounded.
    // Parts of the base may compound at rates of their own: the part of a corporate overpayment above the threshold,
    // a netting's part. Each adds to the base's interest its amount times the difference of its two products: at its
    // rates, and at the rates the same money would have had.
    struct Tranche {
        Money amount;
        double product = 1.0;
        double ownProduct = 1.0;
        const PartRate* part = nullptr; // null: the part above the threshold
    };
    struct BalancePeriod {
        bool open = false;
        Money base;
        double product = 1.0;
        Money rounded;
        std::vector<Tranche> tranches;
    };
    void computePeriod(LedgerRow& row, const QDate& prior, BalancePeriod& period);
    Rate rateOf(const RateTable& table, const QDate& day, bool corporateOverpayment) const;
    void refundRow(LedgerRow& row, const LedgerRow& before); // the interest a refund takes with it, checked
    void partDateRows();                                     // an interest row at each end of a part at another rate
};
