#include "EstimatedTax.h"
#include "CalcSupport.h"
#include "RatesFile.h"
#include "Rounding.h"
#include "RunStop.h"
#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

// The estimated-tax penalty, regular method, against the IRS's own worked examples and cases worked by hand from
// the form instructions. Amounts are in cents.
namespace {

using namespace EstimatedTax;

QString dataFile(const char* name) {
    QFile f(QStringLiteral(TALVORO_SOURCE_DIR "/data/") + QLatin1String(name));
    f.open(QIODevice::ReadOnly | QIODevice::Text);
    return QString::fromUtf8(f.readAll());
}

const RateTable& shippedRates() {
    static const RateTable table = [] {
        std::vector<RateTable::Period> periods;
        for (const auto& r : readPublishedRates(QStringLiteral(TALVORO_SOURCE_DIR "/data/irs-rates.csv")))
            periods.push_back({r.begin, r.end, Rate::fromDouble(*r.rateOf(RateKinds::underpayment()))});
        return RateTable(periods);
    }();
    return table;
}

const BusinessDays& calendar() {
    static const BusinessDays days(BusinessDays::parse(dataFile("holidays.csv"), QStringLiteral("holidays.csv")));
    return days;
}

const std::vector<YearRules>& rules() {
    static const auto r = parseRules(dataFile("estimated-tax.csv"), QStringLiteral("estimated-tax.csv"));
    return r;
}

Result run(const Case& c) {
    return compute(c, rules(), shippedRates(), calendar());
}

qint64 dollars(qint64 whole) {
    return whole * 100;
}

// "amount from to days penalty" of each line, for comparison with a worksheet.
QStringList worksheet(const Result& r) {
    QStringList lines;
    for (const auto& l : r.lines)
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(QChar('a' + l.installment))
                     .arg(double(l.amount) / 100, 0, 'f', 2)
                     .arg(l.from.toString("MM/dd/yy"), l.to.toString("MM/dd/yy"))
                     .arg(l.days)
                     .arg(double(l.penalty) / 100, 0, 'f', 2);
    return lines;
}

// An individual whose prior-year tax sets the required annual payment (a full prior year, current tax higher).
Case individual(const QDate& yearEnd, qint64 requiredAnnual) {
    Case c;
    c.yearEnd = yearEnd;
    c.currentYearTax = requiredAnnual * 2;
    c.priorYearTax = requiredAnnual;
    c.priorFullYear = true;
    return c;
}

} // namespace

// Publication 505 (2005), chapter 4, Figure 4-B, Ben Brown: tax 7,031, prior-year tax 6,116, withholding 3,228 in
// four equal parts, estimated payments of 1,000 on 9/2/2005 and 1/12/2006. The withholding of 6/15 pays the rest of
// the first installment and part of the second; column (c) runs across the rate change of 9/30/2005 (6 % to 7 %);
// 1/15/2006 (a Sunday before a holiday) and 4/15/2006 (a Saturday) are used as written. Form 2210 (2005), lines 27
// to 31, print the seven lines and $68.51 (the sum of the rounded lines; unrounded they come to 68.4946).
TEST(EstimatedTax, Publication505Of2005BenBrown) {
    Case c;
    c.yearEnd = d(12, 31, 2005);
    c.currentYearTax = dollars(7031);
    c.priorYearTax = dollars(6116);
    c.priorFullYear = true;
    c.withholding = dollars(3228);
    c.payments = {{d(9, 2, 2005), dollars(1000)}, {d(1, 12, 2006), dollars(1000)}};
    const Result r = run(c);
    for (const auto& i : r.installments)
        EXPECT_EQ(i.required, dollars(1529));
    EXPECT_EQ(r.installments[0].underpayment, dollars(722));
    EXPECT_EQ(r.installments[1].underpayment, dollars(1444));
    EXPECT_EQ(r.installments[2].underpayment, dollars(1166));
    EXPECT_EQ(r.installments[3].underpayment, dollars(888));
    EXPECT_EQ(worksheet(r), QStringList({"a 722.00 04/15/05 06/15/05 61 7.24", "b 1000.00 06/15/05 09/02/05 79 12.99",
                                         "b 444.00 06/15/05 09/15/05 92 6.71", "c 1166.00 09/15/05 09/30/05 15 2.88",
                                         "c 1000.00 09/30/05 01/12/06 104 19.95", "c 166.00 09/30/05 01/15/06 107 3.41",
                                         "d 888.00 01/15/06 04/15/06 90 15.33"}));
    EXPECT_EQ(r.total, 6851);
    EXPECT_EQ(r.penaltyEnds, d(4, 15, 2006));
}

// Publication 505 (2007), Figure 4-C, Laura Maple: the lines of Form 2210 (2007), Section B, are 84 × 79 days at 8 %
// ÷ 365 = $1.45 and 1,076 × 91 days at 7 % ÷ 366 = $18.73 (2008 is a leap year; the first quarter's 7 % covers
// April 1-15), $20.18 in all. The example's Section A is not at hand: the installments and payments below are ours,
// chosen to leave those two underpayments paid on those dates.
TEST(EstimatedTax, Publication505Of2007LauraMapleLeapYear) {
    Case c = individual(d(12, 31, 2007), dollars(6000));
    c.payments = {{d(4, 15, 2007), dollars(1500)},
                  {d(6, 15, 2007), dollars(1500)},
                  {d(9, 14, 2007), dollars(1416)},
                  {d(12, 3, 2007), dollars(84)},
                  {d(1, 15, 2008), dollars(424)}};
    const Result r = run(c);
    EXPECT_EQ(worksheet(r), QStringList({"c 84.00 09/15/07 12/03/07 79 1.45", "d 1076.00 01/15/08 04/15/08 91 18.73"}));
    EXPECT_EQ(r.lines[1].yearDays, 366);
    EXPECT_EQ(r.lines[1].rate, Rate::fromMillionths(70000));
    EXPECT_EQ(r.total, 2018);
}

// Publication 505 (2005), Figure 4-C, Betty Beige: her installments come from the annualized method, but Section B
// is the regular computation: 414 paid 9/2/2005, 79 days at 6 %, $5.38; 231 unpaid from 1/15/2006, 90 days at 7 %,
// $3.99; $9.37. Regular installments of 1,000 with the payments below leave the same underpayments.
TEST(EstimatedTax, Publication505Of2005BettyBeigeSectionB) {
    Case c = individual(d(12, 31, 2005), dollars(4000));
    c.payments = {{d(4, 15, 2005), dollars(1000)},
                  {d(6, 15, 2005), dollars(586)},
                  {d(9, 2, 2005), dollars(414)},
                  {d(9, 15, 2005), dollars(1000)},
                  {d(1, 15, 2006), dollars(769)}};
    const Result r = run(c);
    EXPECT_EQ(worksheet(r), QStringList({"b 414.00 06/15/05 09/02/05 79 5.38", "d 231.00 01/15/06 04/15/06 90 3.99"}));
    EXPECT_EQ(r.total, 937);
}

// Instructions for Form 2210 (2008), Examples 3 and 4: an underpayment of 5,000 in column (a) paid 3,000 on 4/30
// (15 days) and 2,000 out of 5,000 paid on 6/15 (61 days); the rest of that payment goes to the second installment,
// on time.
TEST(EstimatedTax, Form2210InstructionsOf2008DayCounting) {
    Case c = individual(d(12, 31, 2008), dollars(20000));
    c.payments = {{d(4, 30, 2008), dollars(3000)}, {d(6, 15, 2008), dollars(5000)}};
    const Result r = run(c);
    ASSERT_GE(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0].days, 15);
    EXPECT_EQ(r.lines[1].days, 61);
    EXPECT_EQ(r.installments[1].paidOnTime, dollars(3000));
    // 3,000 × 15 ÷ 366 × 6 % and 2,000 × 61 ÷ 366 × 6 %.
    EXPECT_EQ(r.lines[0].penalty, 738);
    EXPECT_EQ(r.lines[1].penalty, 2000);
}

// A calendar-year 2022 corporation worked by hand from the Form 2220 (2022) instructions: tax 100,000, prior-year
// tax 80,000 for a full year, so four installments of 20,000 (the lesser, 100 % of each). Paid: 20,000 on 4/15,
// 10,000 on 6/15, 30,000 on 9/15 (10,000 of it to the second installment, 92 days late), nothing on 12/15.
//   (b) 10,000 × 15 days (6/15-6/30) ÷ 365 × 4 % = 16.44; 10,000 × 77 days (to 9/15) ÷ 365 × 5 % = 105.48
//   (d) 20,000 × 16 days (12/15-12/31) ÷ 365 × 6 % = 52.60; 20,000 × 105 days (to 4/15/2023) ÷ 365 × 7 % = 402.74
// The corporation's penalty runs to the 15th day of the 4th month at the rates of each quarter (7 % in the first
// and second quarters of 2023, one run of days).
TEST(EstimatedTax, CorporationByHandFromForm2220) {
    Case c;
    c.corporation = true;
    c.yearEnd = d(12, 31, 2022);
    c.currentYearTax = dollars(100000);
    c.priorYearTax = dollars(80000);
    c.priorFullYear = true;
    c.payments = {{d(4, 15, 2022), dollars(20000)}, {d(6, 15, 2022), dollars(10000)}, {d(9, 15, 2022), dollars(30000)}};
    const Result r = run(c);
    EXPECT_EQ(r.installments[3].due, d(12, 15, 2022));
    EXPECT_EQ(worksheet(r),
              QStringList({"b 10000.00 06/15/22 06/30/22 15 16.44", "b 10000.00 06/30/22 09/15/22 77 105.48",
                           "d 20000.00 12/15/22 12/31/22 16 52.60", "d 20000.00 12/31/22 04/15/23 105 402.74"}));
    EXPECT_EQ(r.total, 57726);
}

// Required installments: the individual's 90 %/100 %/110 % rule and the prior year that counts only when full; the
// corporation's lesser of 100 % of each year, and the large corporation's first installment with its recapture.
TEST(EstimatedTax, RequiredInstallments) {
    Case c = individual(d(12, 31, 2024), 0);
    c.currentYearTax = dollars(20000);
    c.priorYearTax = dollars(16000);
    EXPECT_EQ(run(c).installments[0].required, dollars(4000)); // 100 % of 16,000 below 90 % of 20,000
    c.highIncome = true;
    EXPECT_EQ(run(c).installments[0].required, dollars(4400)); // 110 % of 16,000 = 17,600
    c.priorYearTax = dollars(17000);
    EXPECT_EQ(run(c).installments[0].required, dollars(4500)); // 90 % of 20,000 is less than 18,700
    c.priorFullYear = false;
    c.priorYearTax = dollars(1000);
    EXPECT_EQ(run(c).installments[0].required, dollars(4500)); // a short prior year does not count

    Case corp;
    corp.corporation = true;
    corp.yearEnd = d(12, 31, 2024);
    corp.currentYearTax = dollars(400000);
    corp.priorYearTax = dollars(200000);
    corp.priorFullYear = true;
    auto required = [](const Result& r) {
        return QStringList{
            QString::number(r.installments[0].required / 100), QString::number(r.installments[1].required / 100),
            QString::number(r.installments[2].required / 100), QString::number(r.installments[3].required / 100)};
    };
    EXPECT_EQ(required(run(corp)), QStringList({"50000", "50000", "50000", "50000"}));
    corp.largeCorporation = true;
    EXPECT_EQ(required(run(corp)), QStringList({"50000", "150000", "100000", "100000"}));
    corp.priorYearTax = 0; // a prior year without tax does not count
    EXPECT_EQ(required(run(corp)), QStringList({"100000", "100000", "100000", "100000"}));
    // Cents: a quarter of 1,000.02 is 250.005, to the even cent.
    Case cents = individual(d(12, 31, 2024), 100002);
    EXPECT_EQ(run(cents).installments[0].required, 25000);
}

// No penalty under the law's thresholds: an individual's tax less withholding under $1,000, a prior full year with
// no tax, a corporation's tax under $500; just above them the penalty is figured.
TEST(EstimatedTax, Thresholds) {
    Case c;
    c.yearEnd = d(12, 31, 2024);
    c.currentYearTax = dollars(5000);
    c.withholding = 400001; // 5,000.00 - 4,000.01 = 999.99
    Result r = run(c);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_EQ(r.exemption, "No penalty: the tax of 5,000.00 less withholding of 4,000.01 is under 1,000.00 "
                           "(IRC 6654(e)(1)).");
    c.withholding = dollars(4000);
    r = run(c);
    EXPECT_TRUE(r.exemption.isEmpty());
    EXPECT_GT(r.total, 0);

    c.priorFullYear = true;
    c.priorYearTax = 0;
    EXPECT_EQ(run(c).exemption, "No penalty: the prior year was a full year with no tax (IRC 6654(e)(2)).");
    c.priorFullYear = false; // a short year without tax: the penalty is figured on 90 % of this year's tax
    EXPECT_TRUE(run(c).exemption.isEmpty());

    // Withholding by its actual dates: its total still decides the $1,000 test, and it is not counted again in four
    // parts besides the dated payment.
    Case dated;
    dated.yearEnd = d(12, 31, 2024);
    dated.currentYearTax = dollars(10000);
    dated.withholding = dollars(9500);
    dated.withholdingOnActualDates = true;
    dated.payments = {{d(12, 31, 2024), dollars(9500)}};
    EXPECT_FALSE(run(dated).exemption.isEmpty());
    dated.withholding = dated.payments[0].amount = dollars(8000);
    r = run(dated);
    EXPECT_TRUE(r.exemption.isEmpty());
    EXPECT_EQ(r.installments[0].paidOnTime, 0); // 8,000 withheld in December, none of it on 4/15

    Case corp;
    corp.corporation = true;
    corp.yearEnd = d(12, 31, 2024);
    corp.currentYearTax = 49999;
    EXPECT_EQ(run(corp).exemption, "No penalty: the tax of 499.99 is under 500.00 (IRC 6655(f)).");
    corp.currentYearTax = dollars(500);
    r = run(corp);
    EXPECT_TRUE(r.exemption.isEmpty());
    EXPECT_EQ(r.installments[0].underpayment, 12500);
}

// A payment on the first business day after a due date that falls on a weekend or legal holiday is on time; one
// day later it is late from the due date as written.
TEST(EstimatedTax, WeekendAndHolidayDueDates) {
    // 1/15/2024 was Martin Luther King Jr. Day: a payment on 1/16 is on time, one on 1/17 two days late.
    Case c = individual(d(12, 31, 2023), dollars(4000));
    c.payments = {{d(4, 15, 2023), dollars(1000)},
                  {d(6, 15, 2023), dollars(1000)},
                  {d(9, 15, 2023), dollars(1000)},
                  {d(1, 16, 2024), dollars(1000)}};
    EXPECT_TRUE(run(c).lines.empty());
    c.payments.back().date = d(1, 17, 2024);
    Result r = run(c);
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0].days, 2);
    // The Monday payment is timely for the installment due that Saturday only: the part of it that pays an earlier
    // installment still unpaid is late to the Monday (2024: 6/15 a Saturday; 10,000 of the first installment paid
    // 6/17, 63 days at 8 % ÷ 366).
    c = individual(d(12, 31, 2024), dollars(40000));
    c.payments = {{d(6, 17, 2024), dollars(20000)}};
    r = run(c);
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(worksheet(r).first(), "a 10000.00 04/15/24 06/17/24 63 137.70");
    EXPECT_EQ(r.installments[1].paidOnTime, dollars(10000));
    // 6/15/2019 was a Saturday: Monday 6/17 is on time.
    c = individual(d(12, 31, 2019), dollars(4000));
    c.payments = {{d(4, 15, 2019), dollars(1000)},
                  {d(6, 17, 2019), dollars(1000)},
                  {d(9, 16, 2019), dollars(1000)},
                  {d(1, 15, 2020), dollars(1000)}};
    EXPECT_TRUE(run(c).lines.empty());
    c.payments[1].date = d(6, 18, 2019);
    r = run(c);
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0].from, d(6, 15, 2019));
    EXPECT_EQ(r.lines[0].days, 3);
}

// The calendar: the District of Columbia's Emancipation Day observed on Friday 4/15/2011 (April 16 a Saturday);
// Juneteenth from 2021 only; a Sunday 1/15/2023 before Martin Luther King Jr. Day.
TEST(EstimatedTax, LegalHolidays) {
    EXPECT_EQ(calendar().holidayOn(d(4, 15, 2011)), "District of Columbia Emancipation Day");
    EXPECT_EQ(calendar().nextBusinessDay(d(4, 14, 2011)), d(4, 18, 2011));
    EXPECT_EQ(calendar().nextBusinessDay(d(1, 15, 2023)), d(1, 17, 2023));
    EXPECT_EQ(calendar().holidayOn(d(6, 18, 2021)), "Juneteenth National Independence Day");
    EXPECT_TRUE(calendar().isBusinessDay(d(6, 19, 2020)));
    EXPECT_EQ(calendar().holidayOn(d(12, 31, 2021)), "New Year's Day"); // 1/1/2022 was a Saturday
    EXPECT_THROW(BusinessDays::parse("name,month,day,weekday,week,first_year,last_year\nX,13,1,,,2000,\n", "h.csv"),
                 RunStop);
    // A day its month does not have is refused, naming the line; February 29 is a day of February.
    const QString header = "name,month,day,weekday,week,first_year,last_year\n";
    try {
        BusinessDays::parse(header + "Leap,2,29,,,2000,\nNone,2,30,,,2000,\n", "h.csv");
        ADD_FAILURE() << "February 30 was taken";
    } catch (const RunStop& s) {
        EXPECT_TRUE(s.text().startsWith("The file h.csv, line 3, is not a holiday")) << s.text().toStdString();
    }
    EXPECT_THROW(BusinessDays::parse(header + "X,4,31,,,2000,\n", "h.csv"), RunStop);
}

// A list that marks every day of the year as a holiday used to make the search for the next business day run for
// ever; it now ends at once with a message.
TEST(EstimatedTax, AHolidaysListWithoutBusinessDaysEnds) {
    QString everyDay = "name,month,day,weekday,week,first_year,last_year\n";
    for (int weekday = 1; weekday <= 7; ++weekday)
        for (int week = 1; week <= 4; ++week)
            everyDay += QStringLiteral("Day,%1,,%2,%3,1900,\n").arg(1).arg(weekday).arg(week);
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= QDate(2000, month, 1).daysInMonth(); ++day)
            everyDay += QStringLiteral("Day,%1,%2,,,1900,\n").arg(month).arg(day);
    const BusinessDays none(BusinessDays::parse(everyDay, "holidays.csv"));
    withinSeconds(10, [&none] {
        try {
            none.nextBusinessDay(d(4, 15, 2024));
            ADD_FAILURE() << "a business day was found";
        } catch (const RunStop& s) {
            EXPECT_TRUE(s.text().startsWith("The holidays file leaves no business day")) << s.text().toStdString();
        }
    });
}

// The figures of the law come from a file; one that asks for a percentage no law sets, or an amount beyond the
// largest, is refused naming its line. A tax beyond the calculation's range is an overflow, never a wrapped figure.
TEST(EstimatedTax, FiguresBeyondRange) {
    const QString header = "first_tax_year,individual_minimum,corporate_minimum,high_income_percent\n";
    EXPECT_THROW(parseRules(header + "2003,1000,500,1000000000\n", "e.csv"), RunStop);
    EXPECT_THROW(parseRules(header + "2003,1000,500,99\n", "e.csv"), RunStop);
    EXPECT_EQ(parseRules(header + "2003,1000,500,110\n", "e.csv").size(), 1u);
    Case c = individual(d(12, 31, 2005), dollars(4000));
    c.currentYearTax = qint64(9e18);
    EXPECT_THROW(run(c), Rounding::ArithmeticFault);
    c.currentYearTax = dollars(999999999999);
    c.priorFullYear = false;
    EXPECT_GT(run(c).total, 0);
}

// Due dates and the end of the penalty period: individuals and corporations, fiscal years, and the corporation's
// 3rd month before the law moved it to the 4th.
TEST(EstimatedTax, DueDatesAndPenaltyPeriod) {
    const auto individualFiscal = dueDates(false, d(6, 30, 2025));
    EXPECT_EQ(individualFiscal[0], d(10, 15, 2024));
    EXPECT_EQ(individualFiscal[3], d(7, 15, 2025));
    EXPECT_EQ(penaltyEnds(false, d(6, 30, 2025)), d(10, 15, 2025));
    EXPECT_EQ(dueDates(true, d(12, 31, 2024))[3], d(12, 15, 2024));
    EXPECT_EQ(penaltyEnds(true, d(12, 31, 2024)), d(4, 15, 2025));
    EXPECT_EQ(penaltyEnds(true, d(12, 31, 2015)), d(3, 15, 2016)); // tax year beginning before 2016
    EXPECT_EQ(penaltyEnds(true, d(6, 30, 2025)), d(9, 15, 2025));  // June 30 year ends until 2026
    EXPECT_EQ(penaltyEnds(true, d(6, 30, 2027)), d(10, 15, 2027));
}

// What a case lacks or holds wrongly is a message; so is a penalty period beyond the rate table.
TEST(EstimatedTax, Messages) {
    auto message = [](const Case& c) {
        try {
            run(c);
        } catch (const RunStop& e) {
            return e.text();
        }
        return QString();
    };
    Case c = individual(d(12, 30, 2024), dollars(4000));
    EXPECT_EQ(message(c), "The 'Tax Year End' must be the last day of a month.");
    c.yearEnd = d(12, 31, 2002);
    EXPECT_EQ(message(c), "The estimated tax penalty is figured for tax years beginning in 2003 or later; this tax "
                          "year begins on 01/01/2002.");
    c.yearEnd = d(12, 31, 2026);
    EXPECT_EQ(message(c), "There is a missing interest rate figure in the computation period. The estimated tax "
                          "penalty of the tax year ending 12/31/2026 runs to 04/15/2027. The underpayment rate table "
                          "ends on 03/31/2026.");
    c.yearEnd = d(12, 31, 2024);
    c.payments = {{d(5, 1, 2024), -100}};
    EXPECT_EQ(message(c), "The estimated tax payment of 05/01/2024 is negative.");
    Case corp;
    corp.corporation = true;
    corp.yearEnd = d(12, 31, 2024);
    corp.currentYearTax = dollars(1000);
    corp.withholding = 1;
    EXPECT_EQ(message(corp), "Withholding counts for an individual only: for a corporation leave the 'Withholding' "
                             "at 0.");
}

// A leap tax year: 2024's days are divided by 366, those of 2025 by 365. The same rate on both sides of a year's end
// still makes two rate periods when the length of the year changes (8 % in the fourth quarter of 2023 and the first
// of 2024).
TEST(EstimatedTax, LeapYearsAndYearEnds) {
    Case c = individual(d(12, 31, 2024), dollars(4000));
    c.payments = {{d(6, 15, 2024), dollars(1000)}, {d(9, 15, 2024), dollars(1000)}, {d(1, 15, 2025), dollars(1000)}};
    // Each payment goes to the installment before the one it was meant for, so each is late and the fourth unpaid.
    Result r = run(c);
    EXPECT_EQ(worksheet(r), QStringList({"a 1000.00 04/15/24 06/15/24 61 13.33", "b 1000.00 06/15/24 09/15/24 92 20.11",
                                         "c 1000.00 09/15/24 12/31/24 107 23.39", "c 1000.00 12/31/24 01/15/25 15 2.88",
                                         "d 1000.00 01/15/25 04/15/25 90 17.26"}));
    EXPECT_EQ(r.lines[0].yearDays, 366);
    EXPECT_EQ(r.lines[3].yearDays, 365);

    c = individual(d(12, 31, 2023), dollars(4000));
    c.payments = {{d(4, 15, 2023), dollars(1000)}, {d(6, 15, 2023), dollars(1000)}, {d(1, 15, 2024), dollars(1000)}};
    r = run(c);
    // The 1/15/2024 payment goes to the third installment, unpaid since 9/15: 7 % to 9/30, 8 % ÷ 365 to 12/31/2023,
    // 8 % ÷ 366 to the payment; the fourth stays unpaid to 4/15/2024 at 8 % ÷ 366.
    EXPECT_EQ(worksheet(r),
              QStringList({"c 1000.00 09/15/23 09/30/23 15 2.88", "c 1000.00 09/30/23 12/31/23 92 20.16",
                           "c 1000.00 12/31/23 01/15/24 15 3.28", "d 1000.00 01/15/24 04/15/24 91 19.89"}));
}

// Each line in exact arithmetic, to the cent, half to even: 1,001.25 × 73 ÷ 365 × 6 % is 12.015 exactly (in binary
// floating point a hair below), 12.02; 1,003.75 × 15 ÷ 365 × 6 % is 2.475, 2.48; × 30 ÷ 365 × 5 % is 4.125, 4.12.
TEST(EstimatedTax, LinesInExactCents) {
    Case c = individual(d(12, 31, 2005), 400500); // installments of 1,001.25
    c.payments = {{d(6, 27, 2005), 200250}, {d(9, 15, 2005), 100125}, {d(1, 15, 2006), 100125}};
    Result r = run(c);
    // The second line, 1,001.25 × 12 ÷ 365 × 6 % = 1.975, is a tie too.
    EXPECT_EQ(worksheet(r),
              QStringList({"a 1001.25 04/15/05 06/27/05 73 12.02", "b 1001.25 06/15/05 06/27/05 12 1.98"}));

    c = individual(d(12, 31, 2019), 401500); // installments of 1,003.75; 5 % from 7/1/2019
    c.payments = {
        {d(4, 15, 2019), 100375}, {d(7, 30, 2019), 100375}, {d(9, 16, 2019), 100375}, {d(1, 15, 2020), 100375}};
    r = run(c);
    EXPECT_EQ(worksheet(r),
              QStringList({"b 1003.75 06/15/19 06/30/19 15 2.48", "b 1003.75 06/30/19 07/30/19 30 4.12"}));
}
