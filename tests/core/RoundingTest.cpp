#include "Rounding.h"
#include "DateMath.h"
#include "EventLedger.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cfloat>
#include <type_traits>

using namespace Rounding;

TEST(Rounding, CentsGoHalfToEvenOnPositiveAndNegativeValues) {
    EXPECT_EQ(toInt32HalfEven(17798.5), 17798);
    EXPECT_EQ(toInt32HalfEven(17799.5), 17800);
    EXPECT_EQ(toInt32HalfEven(-17798.5), -17798);
    EXPECT_EQ(toInt32HalfEven(-17799.5), -17800);
    EXPECT_EQ(toInt32HalfEven(0.5), 0);
    EXPECT_EQ(toInt32HalfEven(17798.69), 17799);
    EXPECT_EQ(toInt32HalfEven(-0.49), 0);
    EXPECT_EQ(toInt32HalfEven(2147483647.0), 2147483647);
    EXPECT_THROW(toInt32HalfEven(2147483647.5 + 1), ArithmeticFault);
    EXPECT_THROW(toInt32HalfEven(-2147483649.0), ArithmeticFault);
}

TEST(Rounding, TenThousandthsGoHalfToEven) {
    EXPECT_EQ(toTenThousandthsHalfEven(177.99), 1779900);
    EXPECT_EQ(toTenThousandthsHalfEven(double(177.99f)), 1779900); // 177.990005...
    EXPECT_EQ(toTenThousandthsHalfEven(0.00005), 0);               // below half: 0.00005 is 4.99...e-5 in binary
    EXPECT_EQ(toTenThousandthsHalfEven(0.000125), 1);
    EXPECT_EQ(toTenThousandthsHalfEven(-7762.34), -77623400);
}

TEST(Rounding, SinglesAreTheNearestSingleAndOverflowIsAFault) {
    EXPECT_EQ(double(toSingle(1234567.89)), 1234567.875);
    EXPECT_EQ(double(toSingle(123456.78)), 123456.78125);
    EXPECT_EQ(toSingle(-0.1), -0.1f);
    EXPECT_EQ(toSingle(double(FLT_MAX)), FLT_MAX);
    EXPECT_THROW(toSingle(1e39), ArithmeticFault);
    EXPECT_THROW(toSingle(-1e39), ArithmeticFault);
    EXPECT_THROW(toSingle(std::nan("")), ArithmeticFault);
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_THROW(toInt16(32768), ArithmeticFault);
}

// The ledger's amounts are singles and its rate and factor doubles: a change of type changes the results.
TEST(Rounding, LedgerFieldsKeepTheirTypes) {
    static_assert(std::is_same_v<decltype(LedgerRow::unpaidBalance), std::optional<float>>);
    static_assert(std::is_same_v<decltype(LedgerRow::interest), std::optional<float>>);
    static_assert(std::is_same_v<decltype(LedgerRow::days), std::optional<float>>);
    static_assert(std::is_same_v<decltype(LedgerRow::interestRate), std::optional<double>>);
    static_assert(std::is_same_v<decltype(LedgerRow::interestFactor), std::optional<double>>);
    Amount a;
    put(a, 1234567.89);
    EXPECT_EQ(val(a), 1234567.875);
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
