#pragma once

#include "BusinessDays.h"
#include "RateTable.h"

#include <QDate>
#include <QString>

#include <array>
#include <vector>

// The addition to tax for underpaid estimated tax, regular method: individuals (IRC 6654, Form 2210) and
// corporations (IRC 6655, Form 2220). Amounts are whole cents.
namespace EstimatedTax {

// The amounts the law sets for a range of tax years (data/estimated-tax.csv).
using YearRules = EstimatedTaxRules;
// The lines of the file (header "first_tax_year,individual_minimum,corporate_minimum,high_income_percent"); throws
// a RunStop naming `source` and the line of anything malformed.
std::vector<YearRules> parseRules(const QString& csvText, const QString& source);

struct Payment {
    QDate date;
    qint64 amount = 0;
};

struct Case {
    bool corporation = false;
    QDate yearEnd; // the last day of the tax year
    qint64 currentYearTax = 0;
    qint64 priorYearTax = 0;
    bool priorFullYear = false; // a return for a full 12-month prior year was filed
    bool highIncome = false;    // prior-year AGI over $150,000 ($75,000 married filing separately)
    bool largeCorporation = false;
    qint64 withholding = 0;
    bool withholdingOnActualDates = false; // then the withholding is among the payments, by date
    std::vector<Payment> payments;         // the estimated payments (and the withholding on its actual dates)
};

struct Installment {
    QDate due;
    qint64 required = 0;
    qint64 paidOnTime = 0; // applied to it on or before its due date
    qint64 underpayment = 0;
};

// A line of the penalty worksheet: `amount` of an installment's underpayment, from `from` (its due date, or the last
// day of the previous rate period) to `to` (the day it was paid, or the rate period's last day).
struct Line {
    int installment = 0; // 0 .. 3
    qint64 amount = 0;
    QDate from;
    QDate to;
    int days = 0;
    Rate rate;
    int yearDays = 365;
    qint64 penalty = 0; // amount × days ÷ yearDays × rate, to the cent
};

struct Result {
    std::array<Installment, 4> installments;
    std::vector<Line> lines;
    qint64 total = 0;  // the sum of the lines
    QString exemption; // why no penalty is due, when a threshold of the law applies
    QDate penaltyEnds; // the 15th day of the 4th (or 3rd) month after the tax year
};

// The installments' due dates: the 15th day of the 4th, 6th and 9th months of the tax year and of the 1st month of
// the next (individuals) or of its 12th month (corporations).
std::array<QDate, 4> dueDates(bool corporation, const QDate& yearEnd);
// The last day of the penalty period: the 15th day of the 4th month after the tax year; for a corporation the 3rd
// month for tax years beginning before 2016, and for a tax year ending June 30 that begins before 2026.
QDate penaltyEnds(bool corporation, const QDate& yearEnd);

// The penalty. Throws a RunStop with the message for what the case lacks or holds wrongly, and for a day of the
// penalty period the rate table has no rate for.
Result compute(const Case& c, const std::vector<YearRules>& rules, const RateTable& underpayment,
               const BusinessDays& calendar);

} // namespace EstimatedTax
