#pragma once

#include "Money.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Interest netting across a client's returns (IRC 6621(d)): the spans of days on which one return has an underpayment
// bearing interest and another an overpayment earning it, and for the equal amount of each span the net rate of zero.
namespace Netting {

// One return as its interest run left it: its days cut at every date on which any return of the client changes what
// it owes, and for each span of days the balance that bears interest with its interest at the span's start (above
// zero owed, below zero overpaid).
struct Return {
    int number = 0;
    QString name;
    bool corporate = false;
    QDate largeRateFrom; // the first day its underpayment is at the large corporate rate (none: invalid)
    struct Span {
        QDate first;
        QDate last;
        Money balance;
        Money firstPart; // of a corporate overpayment, the most that earns the corporate rate (what refunds left)
    };
    std::vector<Span> spans; // in date order, within the days its interest runs
    Money finalBalance;      // after its last event
};

// How the net rate of zero is reached for an overlap: the underpayment charged at the overpayment rate (the IRS's way
// when the overpayment has been refunded or credited, or neither is settled), or the overpayment credited at the
// underpayment rate (when the underpayment has been paid and the overpayment is still held).
enum class Method { UnderpaymentAtOverpaymentRate, OverpaymentAtUnderpaymentRate };

struct Overlap {
    size_t under = 0; // the returns, by their place in the list
    size_t over = 0;
    QDate first;
    QDate last;
    Money amount; // the equal amount: the lesser of the two balances, with their interest, at the first day
    // Of the amount, the part that comes from a corporate overpayment above the threshold (earning the lower rate).
    Money aboveThreshold;
    Method method = Method::UnderpaymentAtOverpaymentRate;
    bool chosen = false; // the method is the user's choice, not the IRS's
    int days() const { return int(first.daysTo(last)) + 1; }
};

struct Options {
    QDate netRateFrom;                // no day before it is netted
    bool takesFirstPartFirst = false; // a netting (as a refund) takes the first part before the part above it
    // The user's method for the overlaps of an underpayment return and an overpayment return, by their numbers.
    std::function<std::optional<Method>(int under, int over)> choice;
};

// Every overlap of the returns, in date order, then by the underpayment return and the overpayment return. An
// underpayment or an overpayment is netted once on a day: each return's balance is shared out among the returns of
// the other sign in the order of the list.
std::vector<Overlap> overlaps(const std::vector<Return>& returns, const Options& options);

// The text of a method, as the report names it.
QString methodText(Method method);

} // namespace Netting
