#include "Rounding.h"
#include "DateMath.h"
#include "DepositLedger.h"
#include "EventLedger.h"
#include "Money.h"
#include "SummaryTotals.h"
#include "TaxpayerCase.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cfloat>
#include <limits>
#include <type_traits>

using namespace Rounding;

namespace {

template <typename T> constexpr bool exact = std::is_same_v<T, Money> || std::is_same_v<T, std::optional<Money>>;

} // namespace

// Every amount the runs hold is exact money and every rate an exact rate: a field that became a binary floating-point
// type again would lose cents above 167,772.16 (single) or round where the IRS does not.
TEST(Money, EveryAmountFieldIsExact) {
    static_assert(
        exact<decltype(LedgerRow::paymentAllocatedToTax)> && exact<decltype(LedgerRow::paymentAllocatedToPenalties)> &&
        exact<decltype(LedgerRow::paymentAllocatedToInterest)> && exact<decltype(LedgerRow::chargeClassifiedAsTax)> &&
        exact<decltype(LedgerRow::chargeClassifiedAsPenalty)> && exact<decltype(LedgerRow::chargeUnclassified)> &&
        exact<decltype(LedgerRow::unpaidBalance)> && exact<decltype(LedgerRow::initialBalance)> &&
        exact<decltype(LedgerRow::requiredDeposit)> && exact<decltype(LedgerRow::tax)> &&
        exact<decltype(LedgerRow::accruedInterest)> && exact<decltype(LedgerRow::accuracyRelatedPenalty)> &&
        exact<decltype(LedgerRow::failureToPayPenalty)> && exact<decltype(LedgerRow::failureToFilePenalty)> &&
        exact<decltype(LedgerRow::failureToDepositPenalty)> && exact<decltype(LedgerRow::interest)>);
    static_assert(std::is_same_v<decltype(LedgerRow::interestRate), std::optional<Rate>>);
    static_assert(exact<decltype(DepositRow::requiredDeposit)> && exact<decltype(DepositRow::amountOfPayment)> &&
                  exact<decltype(DepositRow::unpaidBalance)> && exact<decltype(DepositRow::penalty)>);
    static_assert(std::is_same_v<decltype(DepositRow::penaltyPercentage), std::optional<Rate>>);
    static_assert(
        exact<decltype(SummaryTotals::TotalInterest)> && exact<decltype(SummaryTotals::TotalFPPenalty)> &&
        exact<decltype(SummaryTotals::TotalFFPenalty)> && exact<decltype(SummaryTotals::TotalAccPenalty)> &&
        exact<decltype(SummaryTotals::TotalPmntAllctdInt)> && exact<decltype(SummaryTotals::TotalPmntAllctdPen)> &&
        exact<decltype(SummaryTotals::otherPenalties)> && exact<decltype(SummaryTotals::TotalFDepositPenalty)> &&
        exact<decltype(SummaryTotals::unpaidTax)> && exact<decltype(SummaryTotals::TotalBalance)>);
    static_assert(exact<decltype(TaxpayerCase::initialBalance)> &&
                  exact<decltype(TaxpayerCase::accuracyUnderpayment)> &&
                  exact<decltype(TaxpayerCase::Payment::toTax)> && exact<decltype(TaxpayerCase::Payment::amount)> &&
                  exact<decltype(TaxpayerCase::Charge::asTax)> && exact<decltype(TaxpayerCase::Deposit::required)>);
    static_assert(std::is_same_v<decltype(RatePeriod::rate), std::optional<Rate>>);
    SUCCEED();
}

// Amounts become cents half to even, on positive and negative values and exact halves; a product with a rate is
// rounded where it is made; sums never wrap.
TEST(Money, CentsAreExactAndRoundHalfToEven) {
    EXPECT_EQ(toCentsHalfEven(0.375), 38); // an exact half cent (in binary too) goes to even, either sign
    EXPECT_EQ(toCentsHalfEven(-0.125), -12);
    EXPECT_EQ(toWholeHalfEven(17799.5), 17800);
    EXPECT_EQ(toWholeHalfEven(-17798.5), -17798);
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_THROW(toInt16(32768), ArithmeticFault);
    EXPECT_THROW(toWholeHalfEven(std::nan("")), ArithmeticFault);
    EXPECT_EQ(Money::fromDollars(4298405.31).cents(), 429840531); // single precision held 4,298,406.00
    EXPECT_EQ(Money::fromDollars(266819.67).cents(), 26681967);
    EXPECT_EQ(Money::fromDollars(0.125).cents(), 12); // an exact half goes to even
    EXPECT_EQ(Money::fromDollars(0.375).cents(), 38);
    EXPECT_EQ(Money::fromDollars(-0.125).cents(), -12);
    EXPECT_EQ(Money::fromDollars(1.005).cents(), 100);                                   // 1.00499999... in binary
    EXPECT_EQ(Money::fromCents(2469).times(Rate::fromMillionths(500000)).cents(), 1234); // 1234.5 cents to even
    EXPECT_EQ(Money::fromCents(2471).times(Rate::fromMillionths(500000)).cents(), 1236); // 1235.5 to even
    EXPECT_EQ(Money::fromCents(-2469).times(Rate::fromMillionths(500000)).cents(), -1234);
    EXPECT_EQ(Money::fromCents(12345).times(Rate::fromMillionths(20000)).cents(), 247); // 2 % of 123.45 is 2.469
    EXPECT_EQ(Money::fromCents(100000).timesFactor(0.0177986858).cents(), 1780);
    EXPECT_EQ(Money::fromStored(999999999999.99).cents(), Money::largestCents);
    EXPECT_THROW(Money::fromStored(1e12), ArithmeticFault);
    EXPECT_THROW(Money::fromCents(std::numeric_limits<qint64>::max()) + Money::fromCents(1), ArithmeticFault);
    EXPECT_THROW(Money::fromCents(std::numeric_limits<qint64>::min()) - Money::fromCents(1), ArithmeticFault);
    EXPECT_EQ(Rate::fromDouble(0.07).millionths(), 70000);
    EXPECT_EQ(Rate::fromDouble(0.0225).millionths(), 22500);
    EXPECT_EQ(Rate::fromDouble(0.07125).millionths(), 71250);
}

TEST(DateMath, MonthArithmetic) {
    using namespace DateMath;
    EXPECT_EQ(monthDiff(QDate(2005, 4, 16), QDate(2005, 12, 31)), 8);
    EXPECT_EQ(monthDiff(QDate(2005, 4, 30), QDate(2005, 5, 1)), 1);
    EXPECT_EQ(monthDiff(QDate(2006, 1, 1), QDate(2005, 12, 31)), -1);
    // The next addition starts from the clamped day.
    QDate m = addMonth(QDate(2005, 1, 31));
    EXPECT_EQ(m, QDate(2005, 2, 28));
    EXPECT_EQ(addMonth(m), QDate(2005, 3, 28));
    EXPECT_EQ(addMonth(QDate(2004, 1, 31)), QDate(2004, 2, 29));
    EXPECT_EQ(endOfPrecedingQuarter(QDate(2005, 7, 15)), QDate(2005, 6, 30));
    EXPECT_EQ(endOfPrecedingQuarter(QDate(2006, 1, 15)), QDate(2005, 12, 31));
    EXPECT_EQ(endOfPrecedingQuarter(QDate(2005, 6, 30)), QDate(2005, 3, 31));
    EXPECT_EQ(daysInYear(2004), 366);
    EXPECT_EQ(daysInYear(1900), 365);
    EXPECT_EQ(daysInYear(2000), 366);
}

// Every day from 1900 to 2100 against the definitions, counted afresh from the calendar: one month later is the same
// day of the next month, or that month's last day when it has no such day; the month difference counts calendar
// months whatever the days; a date written YYYY-MM-DD reads back as itself.
TEST(DateMath, EveryDayFrom1900To2100) {
    using namespace DateMath;
    const QDate reference(2000, 2, 29);
    int failures = 0;
    for (QDate d(1900, 1, 1); d <= QDate(2100, 12, 31) && failures < 5; d = d.addDays(1)) {
        const int nextMonth = d.month() % 12 + 1;
        const int nextYear = d.year() + (d.month() == 12 ? 1 : 0);
        const int lastDay = QDate(nextYear, nextMonth, 1).daysInMonth();
        const QDate expected(nextYear, nextMonth, std::min(d.day(), lastDay));
        const int months = (d.year() - reference.year()) * 12 + d.month() - reference.month();
        const bool ok = addMonth(d) == expected && monthDiff(reference, d) == months &&
                        monthDiff(d, reference) == -months && monthDiff(d, addMonth(d)) == 1 &&
                        fromIso(d.toString(Qt::ISODate)) == d &&
                        fromIso(QByteArray(d.toString(Qt::ISODate).toLatin1())) == d &&
                        quarterIndex(d) == d.year() * 4 + (d.month() - 1) / 3;
        if (!ok) {
            ++failures;
            ADD_FAILURE() << d.toString(Qt::ISODate).toStdString();
        }
    }
    for (const char* text : {"2005-02-29", "2005-13-01", "2005-1-01", "20050101", "2005-01-01 ", ""})
        EXPECT_FALSE(fromIso(QString::fromLatin1(text)).isValid()) << text;
}
