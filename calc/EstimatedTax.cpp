#include "EstimatedTax.h"

#include "DateMath.h"
#include "MoneyText.h"
#include "Rounding.h"
#include "RunStop.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace EstimatedTax {
namespace {

const QString dateFormat = QStringLiteral("MM/dd/yyyy");

QString money(qint64 cents) {
    return groupedDecimal(cents, 2);
}

qint64 quarter(qint64 cents) {
    return Rounding::divideHalfEven(cents, 4);
}

qint64 percent(qint64 cents, int percentage) {
    return Rounding::divideHalfEven(__int128(cents) * percentage, 100);
}

// The largest amount, in cents, the calculation takes: every sum and product of such amounts stays far inside 64
// bits. Beyond it is an overflow, never a wrapped figure.
constexpr qint64 largestCents = qint64(1) << 56;

void checkRange(qint64 cents) {
    if (cents > largestCents || cents < -largestCents)
        throw Rounding::ArithmeticFault(Rounding::overflowText);
}

const YearRules& rulesFor(const std::vector<YearRules>& rules, const QDate& yearBegins) {
    const YearRules* found = nullptr;
    for (const auto& r : rules)
        if (r.firstTaxYear <= yearBegins.year())
            found = &r;
    if (!found)
        throw RunStop(
            QStringLiteral("The estimated tax penalty is figured for tax years beginning in %1 or later; this tax year "
                           "begins on %2.")
                .arg(rules.empty() ? QStringLiteral("the years of estimated-tax.csv")
                                   : QString::number(rules.front().firstTaxYear),
                     yearBegins.toString(dateFormat)));
    return *found;
}

std::array<qint64, 4> requiredInstallments(const Case& c, const YearRules& rules) {
    if (!c.corporation) {
        // The lesser of 90 % of this year's tax and 100 % (110 % for a high income) of last year's, when last year
        // was a full year with a return.
        qint64 annual = percent(c.currentYearTax, 90);
        if (c.priorFullYear)
            annual = std::min(annual, percent(c.priorYearTax, c.highIncome ? rules.highIncomePercent : 100));
        const qint64 q = quarter(annual);
        return {q, q, q, q};
    }
    // Last year's tax counts only for a full year that showed a tax.
    const bool priorCounts = c.priorFullYear && c.priorYearTax > 0;
    const qint64 current = quarter(c.currentYearTax);
    if (!c.largeCorporation) {
        const qint64 q = priorCounts ? quarter(std::min(c.currentYearTax, c.priorYearTax)) : current;
        return {q, q, q, q};
    }
    // A large corporation may base its first installment alone on last year's tax; what that saves is added to the
    // second (IRC 6655(d)(2)).
    if (priorCounts && c.priorYearTax < c.currentYearTax) {
        const qint64 first = quarter(c.priorYearTax);
        return {first, current + (current - first), current, current};
    }
    return {current, current, current, current};
}

// A run of days of the penalty period with one rate and one length of year.
struct RatePeriod {
    QDate first;
    QDate last;
    std::optional<Rate> rate;
    int yearDays = 365;
    QDate lacking; // the first day without a rate, when `rate` is empty
};

std::vector<RatePeriod> ratePeriods(const Case& c, const QDate& begins, const QDate& ends, const RateTable& table) {
    // An individual's penalty takes, for the first 15 days of the 4th month after the tax year, the rate of the 3rd
    // month (IRC 6621(b)(2)(B)).
    const QDate thirdMonthEnds = c.yearEnd.addDays(1).addMonths(3).addDays(-1);
    std::vector<RatePeriod> periods;
    for (QDate d = begins; d <= ends; d = d.addDays(1)) {
        const QDate rateDay = !c.corporation && d > thirdMonthEnds ? thirdMonthEnds : d;
        const RateTable::Period* p = table.find(rateDay);
        const std::optional<Rate> rate = p ? p->rate : std::nullopt;
        const int yearDays = DateMath::daysInYear(d.year());
        if (periods.empty() || periods.back().rate != rate || periods.back().yearDays != yearDays) {
            periods.push_back({d, d, rate, yearDays, rate ? QDate() : rateDay});
        } else {
            periods.back().last = d;
        }
    }
    return periods;
}

// A part of an installment's underpayment paid after its due date.
struct Piece {
    QDate paid;
    qint64 amount;
};

} // namespace

std::vector<YearRules> parseRules(const QString& csvText, const QString& source) {
    const QStringList lines = csvText.split(QLatin1Char('\n'));
    const QString header = QStringLiteral("first_tax_year,individual_minimum,corporate_minimum,high_income_percent");
    if (lines.value(0).trimmed() != header)
        throw RunStop(QStringLiteral("The file %1 does not begin with the line \"%2\".").arg(source, header));
    std::vector<YearRules> rules;
    for (int n = 1; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        bool ok[4] = {};
        YearRules r;
        if (cells.size() == 4) {
            r.firstTaxYear = cells[0].toInt(&ok[0]);
            r.individualMinimum = Rounding::toCentsHalfEven(cells[1].toDouble(&ok[1]));
            r.corporateMinimum = Rounding::toCentsHalfEven(cells[2].toDouble(&ok[2]));
            r.highIncomePercent = cells[3].toInt(&ok[3]);
        }
        if (!(ok[0] && ok[1] && ok[2] && ok[3]) || r.individualMinimum < 0 || r.corporateMinimum < 0 ||
            r.individualMinimum > largestCents || r.corporateMinimum > largestCents || r.highIncomePercent < 100 ||
            r.highIncomePercent > 1000 || (!rules.empty() && r.firstTaxYear <= rules.back().firstTaxYear))
            throw RunStop(QStringLiteral("The file %1, line %2: a first tax year (rising from line to line), two "
                                         "amounts and a percentage from 100 to 1000 are needed.")
                              .arg(source)
                              .arg(n + 1));
        rules.push_back(r);
    }
    return rules;
}

std::array<QDate, 4> dueDates(bool corporation, const QDate& yearEnd) {
    const QDate begins = yearEnd.addDays(1).addMonths(-12);
    auto fifteenth = [&begins](int month) { // the 15th day of the tax year's `month`th month
        const QDate m = begins.addMonths(month - 1);
        return QDate(m.year(), m.month(), 15);
    };
    return {fifteenth(4), fifteenth(6), fifteenth(9), fifteenth(corporation ? 12 : 13)};
}

QDate penaltyEnds(bool corporation, const QDate& yearEnd) {
    const QDate begins = yearEnd.addDays(1).addMonths(-12);
    // IRC 6655(b)(2) as amended by Pub. L. 114-41 §2006(a)(2)(F).
    const bool thirdMonth =
        corporation && (begins.year() < 2016 || (yearEnd.month() == 6 && yearEnd.day() == 30 && begins.year() < 2026));
    const QDate m = yearEnd.addDays(1).addMonths(thirdMonth ? 2 : 3);
    return QDate(m.year(), m.month(), 15);
}

Result compute(const Case& c, const std::vector<YearRules>& rules, const RateTable& underpayment,
               const BusinessDays& calendar) {
    if (!c.yearEnd.isValid() || c.yearEnd.day() != c.yearEnd.daysInMonth())
        throw RunStop(QStringLiteral("The 'Tax Year End' must be the last day of a month."));
    const QDate begins = c.yearEnd.addDays(1).addMonths(-12);
    const YearRules& law = rulesFor(rules, begins);
    const std::pair<qint64, const char*> amounts[] = {
        {c.currentYearTax, "Current Year Tax"}, {c.priorYearTax, "Prior Year Tax"}, {c.withholding, "Withholding"}};
    for (const auto& [amount, label] : amounts)
        checkRange(amount);
    for (const auto& p : c.payments)
        checkRange(p.amount);
    for (const auto& [amount, label] : amounts)
        if (amount < 0)
            throw RunStop(QStringLiteral("The '%1' cannot be negative.").arg(QLatin1String(label)));
    for (const auto& p : c.payments) {
        if (!p.date.isValid())
            throw RunStop(Messages::missing(QStringLiteral("Date Of Payment")));
        if (p.amount < 0)
            throw RunStop(
                QStringLiteral("The estimated tax payment of %1 is negative.").arg(p.date.toString(dateFormat)));
    }
    if (c.corporation && c.withholding != 0)
        throw RunStop(QStringLiteral("Withholding counts for an individual only: for a corporation leave the "
                                     "'Withholding' at 0."));

    Result r;
    r.penaltyEnds = penaltyEnds(c.corporation, c.yearEnd);
    const auto due = dueDates(c.corporation, c.yearEnd);
    for (int i = 0; i < 4; ++i)
        r.installments[size_t(i)].due = due[size_t(i)];

    // The thresholds under which the law charges nothing.
    if (c.corporation && c.currentYearTax < law.corporateMinimum) {
        r.exemption = QStringLiteral("No penalty: the tax of %1 is under %2 (IRC 6655(f)).")
                          .arg(money(c.currentYearTax), money(law.corporateMinimum));
        return r;
    }
    if (!c.corporation && c.currentYearTax - c.withholding < law.individualMinimum) {
        r.exemption = QStringLiteral("No penalty: the tax of %1 less withholding of %2 is under %3 (IRC 6654(e)(1)).")
                          .arg(money(c.currentYearTax), money(c.withholding), money(law.individualMinimum));
        return r;
    }
    if (!c.corporation && c.priorFullYear && c.priorYearTax == 0) {
        r.exemption = QStringLiteral("No penalty: the prior year was a full year with no tax (IRC 6654(e)(2)).");
        return r;
    }

    const auto required = requiredInstallments(c, law);
    for (int i = 0; i < 4; ++i)
        r.installments[size_t(i)].required = required[size_t(i)];

    // The payments in date order, the withholding in four equal parts on the due dates unless it is dated.
    std::vector<Payment> payments = c.payments;
    if (!c.withholdingOnActualDates && c.withholding != 0) {
        const qint64 part = quarter(c.withholding);
        for (int i = 0; i < 4; ++i)
            payments.push_back({due[size_t(i)], i < 3 ? part : c.withholding - 3 * part});
    }
    std::stable_sort(payments.begin(), payments.end(),
                     [](const Payment& a, const Payment& b) { return a.date < b.date; });

    // Each payment goes to the earliest installment still unpaid; what is left over goes to the next. A payment on
    // the first business day after a due date that falls on a weekend or legal holiday is timely for that
    // installment (IRC 7503); for an earlier one it is late to the day it was made.
    std::array<QDate, 4> lastTimely;
    for (size_t i = 0; i < 4; ++i)
        lastTimely[i] = calendar.isBusinessDay(due[i]) ? due[i] : calendar.nextBusinessDay(due[i]);
    std::array<qint64, 4> unpaid = required;
    std::array<std::vector<Piece>, 4> late;
    for (const auto& p : payments) {
        qint64 left = p.amount;
        for (size_t i = 0; i < 4 && left > 0; ++i) {
            const qint64 take = std::min(left, unpaid[i]);
            if (take == 0)
                continue;
            if (p.date <= lastTimely[i])
                r.installments[i].paidOnTime += take;
            else
                late[i].push_back({p.date, take});
            unpaid[i] -= take;
            left -= take;
        }
    }
    bool anyUnderpaid = false;
    for (auto& inst : r.installments) {
        inst.underpayment = inst.required - inst.paidOnTime;
        anyUnderpaid = anyUnderpaid || inst.underpayment > 0;
    }
    if (!anyUnderpaid)
        return r;

    // The worksheet: for each installment and each rate period from its due date on, a line for each part paid in
    // the period and one for what is still unpaid at the period's end.
    const auto periods = ratePeriods(c, due[0].addDays(1), r.penaltyEnds, underpayment);
    for (int i = 0; i < 4; ++i) {
        const Installment& inst = r.installments[size_t(i)];
        qint64 remaining = inst.underpayment;
        size_t next = 0;
        const auto& pieces = late[size_t(i)];
        for (const auto& period : periods) {
            if (remaining <= 0)
                break;
            if (period.last <= inst.due)
                continue;
            const QDate from = std::max(inst.due, period.first.addDays(-1));
            auto line = [&](qint64 amount, const QDate& to) {
                if (!period.rate)
                    throw RunStop(Messages::missingRate +
                                  QStringLiteral(" The estimated tax penalty of the tax year ending %1 runs to %2. ")
                                      .arg(c.yearEnd.toString(dateFormat), r.penaltyEnds.toString(dateFormat)) +
                                  underpayment.lacking(period.lacking));
                Line l;
                l.installment = i;
                l.amount = amount;
                l.from = from;
                l.to = to;
                l.days = int(from.daysTo(to));
                l.rate = *period.rate;
                l.yearDays = period.yearDays;
                // amount × days ÷ year × rate in exact arithmetic, the rate in millionths, to the cent.
                const qint64 micro = l.rate.millionths();
                l.penalty = Rounding::divideHalfEven(__int128(amount) * l.days * micro, qint64(l.yearDays) * 1000000);
                r.lines.push_back(l);
                r.total += l.penalty;
            };
            for (; next < pieces.size() && pieces[next].paid <= period.last && remaining > 0; ++next) {
                line(pieces[next].amount, pieces[next].paid);
                remaining -= pieces[next].amount;
            }
            if (remaining > 0)
                line(remaining, period.last);
        }
    }
    return r;
}

} // namespace EstimatedTax
