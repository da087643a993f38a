#include "NettingRun.h"

#include "KeptReporter.h"

#include "Balances.h"
#include "CalculationRun.h"
#include "DateMath.h"
#include "MoneyText.h"
#include "RecordSet.h"
#include "RunReporter.h"
#include "RunStop.h"

#include <QStringList>

#include <cmath>
#include <set>

namespace {

QString when(const QDate& d) {
    return d.toString(QStringLiteral("MM/dd/yyyy"));
}

QString percent(Rate r) {
    return plainDecimal(r.millionths() / 100, 2) + QLatin1Char('%');
}

// A ledger's interest rows in date order, found by their days.
class InterestRows {
public:
    // `firstDay`: the first day of interest; a row that begins before it counts its days from it.
    InterestRows(const EventLedger& ledger, const QDate& firstDay) {
        for (const auto& r : ledger.rows)
            if (r.event == EventTexts::interest && r.date.isValid() && r.date2.isValid() && r.date2 >= firstDay)
                rows.push_back(&r);
        std::stable_sort(rows.begin(), rows.end(),
                         [](const LedgerRow* a, const LedgerRow* b) { return a->date < b->date; });
    }
    // Each row whose days lie from `first` to `last` (rows are cut at both).
    template <typename F> void within(const QDate& first, const QDate& last, F each) const {
        auto it = std::lower_bound(rows.begin(), rows.end(), first,
                                   [](const LedgerRow* r, const QDate& d) { return r->date2 < d; });
        for (; it != rows.end() && (*it)->date <= last; ++it)
            if ((*it)->date2 <= last)
                each(**it);
    }

private:
    std::vector<const LedgerRow*> rows;
};

// The rates of the rows on the days from `first` to `last` (or with `table`, its rates on those days): one, or the
// lowest to the highest.
QString ratesOn(const InterestRows& rows, const QDate& first, const QDate& last, const RateTable* table = nullptr) {
    std::set<Rate> seen;
    rows.within(first, last, [&](const LedgerRow& r) {
        if (r.days.value_or(0) <= 0)
            return;
        if (!table && r.interestRate)
            seen.insert(*r.interestRate);
        else if (const RateTable::Period* found = table ? table->find(r.date2) : nullptr; found && found->rate)
            seen.insert(*found->rate);
    });
    if (seen.empty())
        return QString();
    if (seen.size() == 1)
        return percent(*seen.begin());
    return percent(*seen.begin()) + QStringLiteral(" to ") + percent(*seen.rbegin());
}

// The product of the daily factors of the rows on the days from `first` to `last`, at the rows' own rates, or with
// `table` at its rates.
double productOn(const InterestRows& rows, const QDate& first, const QDate& last, const RateTable* table = nullptr) {
    double product = 1.0;
    rows.within(first, last, [&](const LedgerRow& r) {
        if (!r.days)
            return;
        if (!table) {
            product *= 1.0 + r.interestFactor.value_or(0.0);
            return;
        }
        const RateTable::Period* found = table->find(r.date2);
        if (!found || !found->rate)
            throw RunStop(Messages::missingRate + QLatin1Char(' ') + table->lacking(r.date2));
        product *= std::pow(1.0 + found->rate->toDouble() / double(DateMath::daysInYear(r.date2.year())), *r.days);
    });
    return product;
}

// The first day of a return's large corporate rate, or none.
QDate largeRateFrom(const TaxpayerCase& tp) {
    return tp.corporate && tp.largeCorporateUnderpayment && tp.largeCorporateRateBegins.isValid()
               ? tp.largeCorporateRateBegins.addDays(1)
               : QDate();
}

// The return as the netting sees it: its interest rows merged into spans that begin at the client's cuts.
// The return as the netting sees it: its interest rows merged into spans that begin at the client's cuts, from the
// day after its due date (a payroll return's rows before it bear no interest). With `takesFirstPartFirst`, each span
// knows how much of the threshold refunds have left to the overpayment, as the interest run counts it.
Netting::Return returnOf(const TaxpayerCase& tp, const EventLedger& ledger, const std::set<QDate>& cuts,
                         Money threshold, bool takesFirstPartFirst) {
    Netting::Return r;
    r.number = tp.number;
    r.name = tp.name;
    r.corporate = tp.corporate;
    r.largeRateFrom = largeRateFrom(tp);
    const QDate firstDay = tp.originalDueDate.addDays(1);
    bool afterEvent = true;
    Money left = threshold;
    for (const auto& row : ledger.rows) {
        if (row.event != EventTexts::interest) {
            afterEvent = true;
            if (row.event == EventTexts::refund && takesFirstPartFirst)
                left = left - std::min(left, -val(row.paymentAllocatedToTax));
            continue;
        }
        if (!row.date.isValid() || !row.date2.isValid() || row.date2 < row.date || row.date2 < firstDay)
            continue;
        const QDate first = std::max(row.date, firstDay);
        if (afterEvent || cuts.count(first.addDays(-1)) || r.spans.empty()) {
            const Money balance = val(row.unpaidBalance) + val(row.accruedInterest);
            if (balance >= Money())
                left = threshold;
            r.spans.push_back({first, row.date2, balance, left});
        } else {
            r.spans.back().last = row.date2;
        }
        afterEvent = false;
    }
    if (!ledger.rows.empty()) {
        const LedgerRow& lastRow = ledger.rows.back();
        r.finalBalance = val(lastRow.unpaidBalance) + Balances::interestAfter(val(lastRow.accruedInterest), lastRow);
    }
    return r;
}

bool sameOverlaps(const std::vector<Netting::Overlap>& a, const std::vector<Netting::Overlap>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Netting::Overlap& x, const Netting::Overlap& y) {
        return x.under == y.under && x.over == y.over && x.first == y.first && x.last == y.last &&
               x.amount == y.amount && x.aboveThreshold == y.aboveThreshold && x.method == y.method;
    });
}

// The rounds of measuring the overlaps again on the balances with the netting. Each settles the overlaps up to the
// first that still changes; beyond the last round the interest run keeps every part within the balance it nets, so
// a client of many overlapping returns is never netted beyond what it owes.
constexpr int maximumRounds = 3;

} // namespace

NettingRun::NettingRun(RunReporter& r) : reporter(r) {}

RunOutcome NettingRun::run(const QString& clientCode, const std::vector<TaxpayerCase>& cases, Result* result,
                           const std::function<std::optional<Netting::Method>(int, int)>& choice) {
    KeptReporter kept;
    return guardedRun(nullptr, reporter, [&] {
        if (cases.empty())
            throw RunStop(QStringLiteral("No taxpayer has the client code \"%1\". Enter it on the taxpayer form of "
                                         "each of the client's returns.")
                              .arg(clientCode));
        const auto& law = cases.front().figures->interestLaw;
        if (!law)
            throw RunStop(cases.front().figures->interestLawProblem);
        CalculationRun calc(kept);
        std::vector<EventLedger> ledgers(cases.size());
        std::vector<Money> without(cases.size()), with(cases.size());

        // Each return's run as it stands, so that each one's dates are known, then again cut at every date of
        // every other: the balances the overlaps are measured by.
        auto runEach = [&](const std::vector<std::vector<InterestSteps::PartRate>>& parts,
                           const std::vector<QDate>& cuts, std::vector<Money>& totals) {
            for (size_t i = 0; i < cases.size(); ++i) {
                calc.setCuts(cuts);
                calc.setPartRates(parts.empty() ? std::vector<InterestSteps::PartRate>() : parts[i]);
                SummaryTotals t;
                kept.said.clear(); // a warning of the return before is not this one's reason
                if (calc.summaryTotals(cases[i], &t) != RunOutcome::Written)
                    throw RunStop(
                        QStringLiteral("Taxpayer %1 (%2): %3").arg(cases[i].number).arg(cases[i].name, kept.said));
                ledgers[i] = calc.ledger();
                totals[i] = t.TotalInterest;
            }
        };
        runEach({}, {}, without);
        std::set<QDate> cutSet = {law->netRateFrom.addDays(-1)};
        for (size_t i = 0; i < cases.size(); ++i) {
            cutSet.insert(cases[i].originalDueDate);
            cutSet.insert(cases[i].endDate);
            for (const auto& row : ledgers[i].rows)
                if (row.event != EventTexts::interest && row.date.isValid())
                    cutSet.insert(row.date);
        }
        const std::vector<QDate> cuts(cutSet.begin(), cutSet.end());
        runEach({}, cuts, without);

        // The overlaps found on the balances as they stand, then again on the balances with the netting (an
        // underpayment charged less owes less on the days after, an overpayment credited more is more), until
        // they stay as they are.
        const std::vector<EventLedger> plain = ledgers;
        Netting::Options options;
        options.netRateFrom = law->netRateFrom;
        options.takesFirstPartFirst = cases.front().refundTakesFirstPart;
        options.choice = choice;
        auto overlapsOf = [&](const std::vector<EventLedger>& from) {
            std::vector<Netting::Return> returns;
            for (size_t i = 0; i < cases.size(); ++i)
                returns.push_back(returnOf(cases[i], from[i], cutSet, law->largeCorporateOverpaymentThreshold,
                                           options.takesFirstPartFirst));
            return Netting::overlaps(returns, options);
        };
        // The net rate of zero on each overlap's amount: the side the method adjusts takes the other's rate.
        auto partsOf = [&](const std::vector<Netting::Overlap>& found) {
            std::vector<std::vector<InterestSteps::PartRate>> parts(cases.size());
            for (const auto& v : found) {
                const TaxpayerCase& under = cases[v.under];
                const TaxpayerCase& over = cases[v.over];
                const Money regular = v.amount - v.aboveThreshold;
                InterestSteps::PartRate p;
                p.first = v.first;
                p.last = v.last;
                if (v.method == Netting::Method::UnderpaymentAtOverpaymentRate) {
                    if (regular > Money()) {
                        p.amount = regular;
                        p.rates = &calc.overpaymentRates(over);
                        p.corporateOverpayment = over.corporate;
                        parts[v.under].push_back(p);
                    }
                    if (v.aboveThreshold > Money()) {
                        p.amount = v.aboveThreshold;
                        p.rates = &calc.largeCorporateOverpaymentRates(over);
                        p.corporateOverpayment = false;
                        parts[v.under].push_back(p);
                    }
                } else {
                    p.rates = &calc.underpaymentRates(under);
                    if (largeRateFrom(cases[v.under]).isValid()) {
                        p.ratesFrom = &calc.largeCorporateRates(under);
                        p.switchDay = largeRateFrom(cases[v.under]);
                    }
                    if (regular > Money()) {
                        p.amount = -regular;
                        parts[v.over].push_back(p);
                    }
                    if (v.aboveThreshold > Money()) {
                        p.amount = -v.aboveThreshold;
                        p.ownAbove = true;
                        parts[v.over].push_back(p);
                    }
                }
            }
            return parts;
        };
        std::vector<Netting::Overlap> found = overlapsOf(plain);
        runEach(partsOf(found), cuts, with);
        for (int round = 0; round < maximumRounds; ++round) {
            std::vector<Netting::Overlap> again = overlapsOf(ledgers);
            if (sameOverlaps(again, found))
                break;
            found = std::move(again);
            runEach(partsOf(found), cuts, with);
        }

        Result out;
        out.clientCode = clientCode;
        std::vector<InterestRows> rowsOf;
        for (size_t i = 0; i < cases.size(); ++i)
            rowsOf.emplace_back(plain[i], cases[i].originalDueDate.addDays(1));
        for (const auto& v : found) {
            // The equal amount's interest on the overlap's days, at the rate the method gives it and at its own: the
            // IRS's line, and the same money as it stood.
            const InterestRows& adjusted =
                rowsOf[v.method == Netting::Method::UnderpaymentAtOverpaymentRate ? v.under : v.over];
            const InterestRows& other =
                rowsOf[v.method == Netting::Method::UnderpaymentAtOverpaymentRate ? v.over : v.under];
            const Money regular = v.amount - v.aboveThreshold;
            const double own = productOn(adjusted, v.first, v.last);
            const double ownAbove =
                v.method == Netting::Method::OverpaymentAtUnderpaymentRate
                    ? productOn(adjusted, v.first, v.last, &calc.largeCorporateOverpaymentRates(cases[v.over]))
                    : own;
            const double otherRegular = productOn(other, v.first, v.last);
            const double otherAbove =
                v.method == Netting::Method::UnderpaymentAtOverpaymentRate && v.aboveThreshold > Money()
                    ? productOn(other, v.first, v.last, &calc.largeCorporateOverpaymentRates(cases[v.over]))
                    : otherRegular;
            OverlapFigures f{v, ratesOn(rowsOf[v.under], v.first, v.last), ratesOn(rowsOf[v.over], v.first, v.last),
                             regular.timesFactor(otherRegular - 1.0) + v.aboveThreshold.timesFactor(otherAbove - 1.0),
                             regular.timesFactor(own - 1.0) + v.aboveThreshold.timesFactor(ownAbove - 1.0)};
            // The part above the threshold earns (or is charged at) the lower rate: both are named.
            if (v.aboveThreshold > Money())
                f.overRates += QStringLiteral(", %1 above $%2")
                                   .arg(ratesOn(rowsOf[v.over], v.first, v.last,
                                                &calc.largeCorporateOverpaymentRates(cases[v.over])),
                                        groupedDecimal(law->largeCorporateOverpaymentThreshold.cents() / 100, 0));
            out.overlaps.push_back(f);
        }

        for (size_t i = 0; i < cases.size(); ++i) {
            out.returns.push_back({cases[i].number, cases[i].name, without[i], with[i]});
            out.benefit += without[i] - with[i];
        }
        *result = out;
    });
}

RecordSet NettingRun::rows(const Result& r) {
    RecordSet set({QStringLiteral("Section"), QStringLiteral("Underpayment"), QStringLiteral("Overpayment"),
                   QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Days"), QStringLiteral("Amount"),
                   QStringLiteral("Underpayment Rate"), QStringLiteral("Overpayment Rate"), QStringLiteral("Method"),
                   QStringLiteral("As It Stood"), QStringLiteral("At Net Rate"), QStringLiteral("Without Netting"),
                   QStringLiteral("With Netting"), QStringLiteral("Benefit")});
    const QString overlapsSection = QStringLiteral("Overlapping periods");
    const QString returnsSection = QStringLiteral("Interest of each return");
    auto label = [&r](int number) {
        for (const auto& f : r.returns)
            if (f.number == number)
                return QStringLiteral("%1 %2").arg(number).arg(f.name);
        return QString::number(number);
    };
    auto dollars = [](Money m) { return QVariant(double(m.cents()) / 100.0); };
    for (const auto& o : r.overlaps) {
        const auto& v = o.overlap;
        set.append({overlapsSection, label(r.returns[v.under].number), label(r.returns[v.over].number), v.first, v.last,
                    v.days(), dollars(v.amount), o.underRates, o.overRates,
                    Netting::methodText(v.method) + (v.chosen ? QStringLiteral(" (chosen)") : QString()),
                    dollars(o.asItStood), dollars(o.atNetRate), QVariant(), QVariant(), QVariant()});
    }
    for (const auto& f : r.returns)
        set.append({returnsSection, label(f.number), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                    QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), dollars(f.without), dollars(f.with),
                    dollars(f.without - f.with)});
    return set;
}

QString NettingRun::claimText(const Result& r, const std::vector<TaxpayerCase>& cases) {
    auto caseOf = [&cases](int number) -> const TaxpayerCase* {
        for (const auto& c : cases)
            if (c.number == number)
                return &c;
        return nullptr;
    };
    QStringList lines;
    lines << QStringLiteral("Form 843, Claim for Refund and Request for Abatement")
          << QStringLiteral("Request for Net Interest Rate of Zero under Rev. Proc. 2000-26") << QString()
          << QStringLiteral("Client: %1").arg(r.clientCode) << QString()
          << QStringLiteral("The taxpayer asks for the net rate of zero of IRC section 6621(d) on the following "
                            "periods, in which interest was payable on an underpayment and allowable on an "
                            "overpayment of the same taxpayer for the same days:")
          << QString();
    int n = 0;
    for (const auto& o : r.overlaps) {
        const auto& v = o.overlap;
        const TaxpayerCase* u = caseOf(r.returns[v.under].number);
        const TaxpayerCase* p = caseOf(r.returns[v.over].number);
        const auto period = [](const TaxpayerCase* c) {
            return c ? QStringLiteral("%1, due %2").arg(c->name, when(c->originalDueDate)) : QString();
        };
        lines << QStringLiteral("%1. From %2 to %3 (%4 days): %5 of underpayment of the return %6 (rate %7) and of "
                                "overpayment of the return %8 (rate %9).")
                     .arg(++n)
                     .arg(when(v.first), when(v.last))
                     .arg(v.days())
                     .arg(groupedDecimal(v.amount.cents(), 2), period(u), o.underRates, period(p), o.overRates);
    }
    if (r.overlaps.empty())
        lines << QStringLiteral("(No period: the returns' underpayments and overpayments do not overlap.)");
    lines << QString() << QStringLiteral("Interest of each return, as computed and with the net rate of zero:");
    for (const auto& f : r.returns)
        lines << QStringLiteral("  %1 %2: %3 as computed, %4 with the net rate of zero")
                     .arg(f.number)
                     .arg(f.name, groupedDecimal(f.without.cents(), 2), groupedDecimal(f.with.cents(), 2));
    lines << QString()
          << QStringLiteral("Interest to be abated or credited: %1").arg(groupedDecimal(r.benefit.cents(), 2));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
