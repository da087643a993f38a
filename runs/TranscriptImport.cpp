#include "TranscriptImport.h"

#include "Amount.h"
#include "BusinessDays.h"
#include "Database.h"
#include "MoneyText.h"
#include "Names.h"
#include "Rounding.h"
#include "SqlText.h"
#include "Statements.h"
#include "StoreError.h"

#include <QRegularExpression>

#include <algorithm>
#include <set>

namespace TranscriptImport {
namespace {

using Action = TranscriptRules::Action;

QString day(const QDate& d) {
    return d.toString(QStringLiteral("MM/dd/yyyy"));
}

QString money(Money m) {
    return groupedDecimal(m.cents(), 2);
}

Money magnitude(Money m) {
    return m < Money() ? -m : m;
}

[[noreturn]] void refuseLine(const QString& source, int line, const QString& why) {
    throw StoreError(QStringLiteral("The file %1, line %2: %3").arg(source).arg(line).arg(why));
}

// A row the transcript made, which a later reversal may reduce.
struct Made {
    enum class Kind { Tax, Payment, Charge, Refund, Figure } kind;
    QString code;
    size_t index = 0; // into the case's rows of its kind
    int line = 0;
    size_t step = 0; // its step in the preview
};

class Planner {
public:
    Planner(const Transcript::Account& a, const TranscriptRules::Rules& r, const std::vector<Holiday>& holidays,
            const std::optional<TaxpayerCase>& into, const QString& source, const QDate& today)
        : account(a), rules(r), calendar(holidays), existing(into), today(today) {
        p.source = source;
        p.account = a;
    }

    Plan run() {
        taxpayer();
        for (const auto& line : account.lines)
            p.steps.push_back(step(line));
        finish();
        return std::move(p);
    }

private:
    const Transcript::Account& account;
    const TranscriptRules::Rules& rules;
    BusinessDays calendar;
    const std::optional<TaxpayerCase>& existing;
    QDate today;
    Plan p;
    TaxpayerCase& c = p.made;
    QDate due;
    const TranscriptRules::DueDate* form = nullptr;
    std::vector<Made> made;
    std::set<int> matched; // the case's payments a transaction was found to be
    std::set<int> matchedFigures, matchedCharges, matchedRefunds;
    bool figureLeftOut = false;
    bool taxSeen = false;
    std::optional<Money> tax;
    QDate taxAssessed, installmentAgreement, levyNotice, failureToPayAssessed, depositAssessed;
    bool irsFailureToFile = false;
    bool filedGuessed = false; // the date filed is the tax's assessment, for want of the day received

    void taxpayer() {
        form = rules.dueDate(account.formNumber, account.taxPeriod);
        if (!form)
            refuseLine(p.source, account.taxPeriodLine,
                       QStringLiteral("the form %1 is not one whose due date the program knows (the file "
                                      "return-due-dates.csv lists them): make the case by hand.")
                           .arg(account.formNumber));
        const QDate first = TranscriptRules::dueDay(*form, account.taxPeriod);
        due = calendar.isBusinessDay(first) ? first : calendar.nextBusinessDay(first);
        const bool payroll = form->kind == TranscriptRules::DueDate::Kind::Payroll;
        if (existing) {
            const TaxpayerCase& e = *existing;
            if ((e.originalDueDate.isValid() && e.originalDueDate != due) || e.payroll != payroll)
                refuseLine(p.source, account.taxPeriodLine,
                           QStringLiteral("the transcript is of form %1 for the tax period ending %2, whose return is "
                                          "due %3; taxpayer %4 (%5) is %6 due %7. Select the case of that period, or "
                                          "import the transcript as a new case.")
                               .arg(account.formNumber, day(account.taxPeriod), day(due))
                               .arg(e.number)
                               .arg(e.name, e.payroll ? QStringLiteral("a payroll return") : QStringLiteral("a return"),
                                    e.originalDueDate.isValid() ? day(e.originalDueDate) : QStringLiteral("(none)")));
            c = e;
            p.into = e.number;
            return;
        }
        c.name = QStringLiteral("Form %1 %2 %3")
                     .arg(account.formNumber, day(account.taxPeriod), account.tin)
                     .trimmed()
                     .left(150);
        c.originalDueDate = due;
        c.payroll = payroll;
        c.corporate = form->kind == TranscriptRules::DueDate::Kind::Corporate;
        if (payroll)
            c.startDate =
                QDate(account.taxPeriod.year(), account.taxPeriod.month(), 1).addMonths(1 - form->periodMonths);
        if (first != due)
            p.notes << QStringLiteral("The return's due date %1 falls on a weekend or legal holiday: it is due the "
                                      "next business day, %2.")
                           .arg(day(first), day(due));
    }

    Step step(const Transcript::Line& line) {
        Step s{line.number, line.text, QString(), false};
        using K = Transcript::Line::Kind;
        switch (line.kind) {
        case K::Blank:
            return s;
        case K::Header:
            s.does = line.number == account.taxPeriodLine
                         ? QStringLiteral("Form %1, tax period ending %2: the return is due %3.")
                               .arg(account.formNumber, day(account.taxPeriod), day(due))
                         : QStringLiteral("Header.");
            return s;
        case K::PageHeader:
            s.does = QStringLiteral("Page header: skipped.");
            return s;
        case K::Continuation:
            s.does = QStringLiteral("Note of the transaction above: not used.");
            return s;
        case K::Other:
            s.does = QStringLiteral("Not used.");
            return s;
        case K::Transaction:
            break;
        }
        if (!line.transaction) { // a "Code:" line whose fields follow
            s.does = QStringLiteral("Note of the transaction above: not used.");
            return s;
        }
        const Transcript::Transaction& x = *line.transaction;
        const TranscriptRules::Code* rule = rules.find(x.code, x.explanation);
        if (!rule) {
            p.unknownCodes << QStringLiteral("%1 (line %2)").arg(x.code).arg(line.number);
            s.does = QStringLiteral("Left out: the code %1 is not in the table of transaction codes "
                                    "(transaction-codes.csv). Enter it by hand if it matters.")
                         .arg(x.code);
            s.leftOut = true;
            return s;
        }
        s.does = transaction(x, *rule, line.number, &s.leftOut);
        s.leftOut = s.leftOut || figureLeftOut;
        figureLeftOut = false;
        return s;
    }

    QString payment(const Transcript::Transaction& x, int line, const QDate& at, bool toInterest) {
        const Money amount = magnitude(x.amount);
        if (p.into) {
            for (const auto& e : c.payments)
                if (e.row > 0 && e.date == at && e.amount == amount && matched.insert(e.row).second)
                    return QStringLiteral("Left out: the case already has this payment (row %1).").arg(e.row);
            for (const auto& e : c.irsFigures)
                if (e.row > 0 && e.event == Kinds::creditByDueDate && e.code == x.code && e.date == at &&
                    e.amount == amount && matchedFigures.insert(e.row).second)
                    return QStringLiteral("Left out: the case counts it in its Initial Balance already.");
        }
        TaxpayerCase::Payment pay;
        pay.event = EventTexts::payment;
        pay.date = at;
        pay.amount = amount;
        pay.toTax = toInterest ? Money() : amount;
        pay.toPenalties = Money();
        pay.toInterest = toInterest ? amount : Money();
        if (c.payroll)
            pay.liabilityDueDate = due;
        c.payments.push_back(pay);
        made.push_back({Made::Kind::Payment, x.code, c.payments.size() - 1, line, p.steps.size()});
        return QString();
    }

    QString figure(const Transcript::Transaction& x, int line, const QString& kind) {
        if (p.into)
            for (const auto& e : c.irsFigures)
                if (e.row > 0 && e.code == x.code && e.date == x.date && e.amount == x.amount &&
                    matchedFigures.insert(e.row).second) {
                    figureLeftOut = true;
                    return QStringLiteral("Left out: the case already has this figure of the IRS's.");
                }
        c.irsFigures.push_back({0, x.code, kind, x.explanation.left(100), x.date, x.amount});
        made.push_back({Made::Kind::Figure, x.code, c.irsFigures.size() - 1, line, p.steps.size()});
        return QStringLiteral("The IRS's %1 of %2, assessed %3: kept to compare with, not added to the computation.")
            .arg(kind.toLower(), money(x.amount), day(x.date));
    }

    QString transaction(const Transcript::Transaction& x, const TranscriptRules::Code& rule, int line, bool* leftOut) {
        const Money amount = magnitude(x.amount);
        switch (rule.action) {
        case Action::Tax:
            if (taxSeen) {
                *leftOut = true;
                return QStringLiteral("Left out: a second return filed; only the first is the return's tax.");
            }
            taxSeen = true;
            tax = x.amount;
            taxAssessed = x.date;
            made.push_back({Made::Kind::Tax, x.code, 0, line, p.steps.size()});
            return QStringLiteral("The return's tax, %1 (assessed %2).").arg(money(x.amount), day(x.date));
        case Action::Extension: {
            static const QRegularExpression date(QStringLiteral("\\b(\\d{1,2}-\\d{1,2}-\\d{4})\\b"));
            const auto m = date.match(x.explanation);
            QDate extended = m.hasMatch() ? Transcript::transactionDate(m.captured(1)) : QDate();
            if (extended.isValid() && !calendar.isBusinessDay(extended))
                extended = calendar.nextBusinessDay(extended);
            if (extended.isValid() && extended <= due) {
                *leftOut = true;
                return QStringLiteral("Left out: the extended date %1 is not after the due date %2.")
                    .arg(day(extended), day(due));
            }
            if (!extended.isValid()) {
                p.notes << QStringLiteral("Line %1: the extension gives no extended date: enter it on the taxpayer "
                                          "form.")
                               .arg(line);
                return QStringLiteral("An extension without a date: enter the extended due date by hand.");
            }
            if (p.into && c.extendedDueDate.isValid() && c.extendedDueDate != c.originalDueDate)
                return QStringLiteral("An extension to %1; the case already has its extended due date %2.")
                    .arg(day(extended), day(c.extendedDueDate));
            c.extendedDueDate = extended;
            return QStringLiteral("Extended due date %1.").arg(day(extended));
        }
        case Action::Payment: {
            const QString refused = payment(x, line, x.date, false);
            *leftOut = !refused.isEmpty();
            return *leftOut ? refused : QStringLiteral("A payment of %1 on %2.").arg(money(amount), day(x.date));
        }
        case Action::PaidOnDueDate: {
            const QDate at = std::max(x.date, due);
            const QString refused = payment(x, line, at, false);
            *leftOut = !refused.isEmpty();
            return *leftOut ? refused
                            : QStringLiteral("A credit of %1 counted as paid on %2%3.")
                                  .arg(money(amount), day(at),
                                       at == due ? QStringLiteral(", the return's due date") : QString());
        }
        case Action::PaymentToInterest: {
            const QString refused = payment(x, line, x.date, true);
            *leftOut = !refused.isEmpty();
            return *leftOut ? refused
                            : QStringLiteral("A payment of %1 on %2, to interest.").arg(money(amount), day(x.date));
        }
        case Action::AdditionalTax: {
            if (p.into)
                for (const auto& e : c.charges)
                    if (e.row > 0 && e.interestStarts == due && e.asTax == x.amount &&
                        matchedCharges.insert(e.row).second) {
                        *leftOut = true;
                        return QStringLiteral("Left out: the case already has this charge (row %1).").arg(e.row);
                    }
            TaxpayerCase::Charge charge;
            charge.event = EventTexts::otherCharge;
            charge.interestStarts = due;
            charge.asTax = x.amount;
            charge.asPenalty = Money();
            charge.unclassified = Money();
            charge.incurred = x.date;
            c.charges.push_back(charge);
            p.chargeTexts.push_back({x.explanation.left(150), x.date});
            made.push_back({Made::Kind::Charge, x.code, c.charges.size() - 1, line, p.steps.size()});
            return QStringLiteral("Additional tax of %1 (assessed %2), interest from %3.")
                .arg(money(x.amount), day(x.date), day(due));
        }
        case Action::IrsFailureToFile:
            irsFailureToFile = true;
            return figure(x, line, Kinds::failureToFile);
        case Action::IrsFailureToPay:
            if (!failureToPayAssessed.isValid())
                failureToPayAssessed = x.date;
            return figure(x, line, Kinds::failureToPay);
        case Action::IrsEstimatedTax:
            return figure(x, line, Kinds::estimatedTax);
        case Action::IrsDeposit:
            if (!depositAssessed.isValid())
                depositAssessed = x.date;
            return figure(x, line, Kinds::deposit);
        case Action::IrsOtherPenalty:
            return figure(x, line, Kinds::otherPenalty);
        case Action::IrsInterest:
            return figure(x, line, Kinds::interest);
        case Action::IrsOverpaymentInterest:
            return figure(x, line, Kinds::overpaymentInterest);
        case Action::Refund:
        case Action::CreditOut: {
            if (p.into)
                for (const auto& e : c.refunds)
                    if (e.row > 0 && e.made == x.date && matchedRefunds.insert(e.row).second) {
                        *leftOut = true;
                        return QStringLiteral("Left out: the case already has a refund made that day (row %1).")
                            .arg(e.row);
                    }
            TaxpayerCase::Refund r;
            r.event = EventTexts::refund;
            r.made = x.date;
            r.interestTo = x.date;
            r.amount = amount;
            c.refunds.push_back(r);
            made.push_back({Made::Kind::Refund, x.code, c.refunds.size() - 1, line, p.steps.size()});
            return QStringLiteral("%1 of %2 on %3, interest allowed to that day.")
                .arg(rule.action == Action::Refund ? QStringLiteral("A refund") : QStringLiteral("A credit out"),
                     money(amount), day(x.date));
        }
        case Action::InstallmentAgreement:
            if (!installmentAgreement.isValid())
                installmentAgreement = x.date;
            return QStringLiteral("Installment agreement of %1: the failure-to-pay rate of 0.25 % from then, for "
                                  "a return filed on time.")
                .arg(day(x.date));
        case Action::LevyNotice:
            if (!levyNotice.isValid())
                levyNotice = x.date;
            return QStringLiteral("Notice of intent to levy of %1: the failure-to-pay rate of 1 % from %2.")
                .arg(day(x.date), day(x.date.addDays(10)));
        case Action::Reversal:
            return reversal(x, rule, line, leftOut);
        case Action::Note:
            return QStringLiteral("Noted (%1): nothing written.").arg(rule.meaning);
        }
        return QString();
    }

    std::optional<Money>* amountOf(const Made& m) {
        switch (m.kind) {
        case Made::Kind::Tax:
            return &tax;
        case Made::Kind::Payment:
            return &c.payments[m.index].amount;
        case Made::Kind::Charge:
            return &c.charges[m.index].asTax;
        case Made::Kind::Refund:
            return &c.refunds[m.index].amount;
        case Made::Kind::Figure:
            return &c.irsFigures[m.index].amount;
        }
        return nullptr;
    }

    // A reversal takes its amount from the latest earlier row of a code it reverses that still holds as much, or
    // else the latest that holds any.
    QString reversal(const Transcript::Transaction& x, const TranscriptRules::Code& rule, int line, bool* leftOut) {
        const Money amount = magnitude(x.amount);
        const Made* target = nullptr;
        const auto find = [&](bool whole) {
            for (const QString& code : rule.reverses)
                for (auto it = made.rbegin(); it != made.rend() && !target; ++it)
                    if (it->code == code && magnitude(val(*amountOf(*it))) >= (whole ? amount : Money::fromCents(1)))
                        target = &*it;
        };
        find(true);
        if (!target)
            find(false);
        if (!target) {
            *leftOut = true;
            p.notes << QStringLiteral("Line %1: the reversal (%2) of %3 finds no earlier transaction of code %4 on "
                                      "the transcript: it is left out.")
                           .arg(line)
                           .arg(x.code, money(amount), rule.reverses.join(QStringLiteral(" or ")));
            return QStringLiteral("Left out: reverses a %1 the transcript does not show.")
                .arg(rule.reverses.join(QStringLiteral(" or ")));
        }
        std::optional<Money>& into = *amountOf(*target);
        const Money before = val(into);
        const Money taken = std::min(amount, magnitude(before));
        into = before < Money() ? before + taken : before - taken;
        if (taken < amount)
            p.notes << QStringLiteral("Line %1: the reversal of %2 is more than the %3 of line %4 holds; %5 of it is "
                                      "taken.")
                           .arg(line)
                           .arg(money(amount), target->code)
                           .arg(target->line)
                           .arg(money(taken));
        return QStringLiteral("Reverses %1 of the %2 of line %3 (%4 left).")
            .arg(money(taken), target->code)
            .arg(target->line)
            .arg(money(val(into)));
    }

    void finish() {
        // What reversals emptied is not written.
        const auto zero = [](const std::optional<Money>& m) { return m && *m == Money(); };
        allocate();
        netCreditsByTheDueDate();
        netRefundsByTheDueDate();
        std::erase_if(c.payments, [&](const auto& r) { return r.row == 0 && zero(r.amount); });
        for (size_t i = c.charges.size(); i-- > 0;)
            if (c.charges[i].row == 0 && zero(c.charges[i].asTax)) {
                c.charges.erase(c.charges.begin() + qsizetype(i));
                p.chargeTexts.erase(p.chargeTexts.begin() + qsizetype(i - existingCharges()));
            }
        std::erase_if(c.irsFigures, [&](const auto& r) { return r.row == 0 && zero(r.amount); });
        // A refund is the overpayment paid back: the overpayment interest allowed the same day is paid with it.
        for (auto& r : c.refunds) {
            if (r.row != 0 || zero(r.amount))
                continue;
            for (const auto& f : c.irsFigures)
                if (f.row == 0 && f.event == Kinds::overpaymentInterest && f.date == r.made && f.amount) {
                    const Money interest = magnitude(*f.amount);
                    if (interest < val(r.amount)) {
                        r.amount = val(r.amount) - interest;
                        p.notes << QStringLiteral("The refund of %1 holds the overpayment interest of %2 allowed "
                                                  "that day: the overpayment refunded is %3.")
                                       .arg(day(r.made), money(interest), money(*r.amount));
                    }
                }
            p.notes << QStringLiteral("The refund of %1 has interest allowed to that day; the IRS allows it to a day "
                                      "up to 30 days before (IRC 6611(b)(2)): change it on the refund form if the "
                                      "IRS's notice gives the day.")
                           .arg(day(r.made));
        }
        std::erase_if(c.refunds, [&](const auto& r) { return r.row == 0 && zero(r.amount); });

        if (p.into)
            fillExisting();
        else
            fillNew();
    }

    // The IRS applies a payment to the tax, then to the penalties and then to the interest it has assessed by the
    // payment's date; what is left over is an overpayment of tax.
    void allocate() {
        Money taxOwed = p.into && c.initialBalance ? *c.initialBalance : val(tax);
        for (const auto& ch : c.charges)
            taxOwed += val(ch.asTax);
        // What the IRS had assessed by a day, of penalties and of interest: running sums by date, looked up.
        std::vector<std::pair<QDate, Money>> penalties, interests;
        for (const auto& f : c.irsFigures) {
            const bool penalty = f.event == Kinds::failureToFile || f.event == Kinds::failureToPay ||
                                 f.event == Kinds::estimatedTax || f.event == Kinds::deposit ||
                                 f.event == Kinds::otherPenalty;
            if (penalty || f.event == Kinds::interest)
                (penalty ? penalties : interests).push_back({f.date, val(f.amount)});
        }
        for (auto* list : {&penalties, &interests}) {
            std::stable_sort(list->begin(), list->end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (size_t k = 1; k < list->size(); ++k)
                (*list)[k].second += (*list)[k - 1].second;
        }
        const auto assessedBy = [&](const QDate& d, bool interest) {
            const auto& list = interest ? interests : penalties;
            const auto after = std::upper_bound(list.begin(), list.end(), d,
                                                [](const QDate& day, const auto& e) { return day < e.first; });
            return after == list.begin() ? Money() : std::prev(after)->second;
        };
        std::vector<size_t> order;
        Money paidTax, paidPenalties, paidInterest;
        for (size_t i = 0; i < c.payments.size(); ++i) {
            if (c.payments[i].row != 0 || val(c.payments[i].toInterest) > Money()) {
                paidTax += val(c.payments[i].toTax);
                paidPenalties += val(c.payments[i].toPenalties);
                paidInterest += val(c.payments[i].toInterest);
            } else {
                order.push_back(i);
            }
        }
        std::stable_sort(order.begin(), order.end(),
                         [this](size_t a, size_t b) { return c.payments[a].date < c.payments[b].date; });
        for (size_t i : order) {
            auto& pay = c.payments[i];
            Money left = val(pay.amount);
            const auto take = [&left](Money owed) {
                const Money part = std::clamp(owed, Money(), left);
                left -= part;
                return part;
            };
            Money toTax = take(taxOwed - paidTax);
            const Money toPenalties = take(assessedBy(pay.date, false) - paidPenalties);
            const Money toInterest = take(assessedBy(pay.date, true) - paidInterest);
            toTax += left;
            pay.toTax = toTax;
            pay.toPenalties = toPenalties;
            pay.toInterest = toInterest;
            paidTax += toTax;
            paidPenalties += toPenalties;
            paidInterest += toInterest;
            if (toPenalties > Money() || toInterest > Money())
                for (const auto& m : made)
                    if (m.kind == Made::Kind::Payment && m.index == i)
                        p.steps[m.step].does += QStringLiteral(" Applied to tax %1, to penalties %2, to "
                                                               "interest %3, as the IRS applies it.")
                                                    .arg(money(toTax), money(toPenalties), money(toInterest));
        }
    }

    // What was paid or credited by the due date is not a payment of its own: the case's Initial Balance is the tax
    // unpaid on the due date, which the failure-to-file penalty is figured on (IRC 6651(b)(1)).
    void netCreditsByTheDueDate() {
        if (c.payroll || (p.into && c.initialBalance))
            return;
        for (size_t i = 0; i < c.payments.size(); ++i) {
            auto& pay = c.payments[i];
            if (pay.row != 0 || pay.date > due || val(pay.amount) == Money() || val(pay.toTax) != val(pay.amount))
                continue;
            netted += val(pay.amount);
            // Kept beside the case, so that a notice's gross tax and credits can be set against it.
            for (const auto& m : made)
                if (m.kind == Made::Kind::Payment && m.index == i)
                    c.irsFigures.push_back({0, m.code, Kinds::creditByDueDate,
                                            QStringLiteral("Counted in the Initial Balance"), pay.date, pay.amount});
            for (const auto& m : made)
                if (m.kind == Made::Kind::Payment && m.index == i)
                    p.steps[m.step].does += QStringLiteral(" It is counted in the tax unpaid on the due date.");
            pay.amount = Money(); // not written
        }
    }
    Money netted;

    // A refund made by the due date (a return filed early) pays back what was overpaid then: it is counted in the
    // Initial Balance too, and kept beside the case as a credit taken back.
    void netRefundsByTheDueDate() {
        if (c.payroll || (p.into && c.initialBalance))
            return;
        for (size_t i = 0; i < c.refunds.size(); ++i) {
            auto& r = c.refunds[i];
            if (r.row != 0 || !r.made.isValid() || r.made > due || val(r.amount) == Money())
                continue;
            netted -= val(r.amount);
            for (const auto& m : made)
                if (m.kind == Made::Kind::Refund && m.index == i) {
                    c.irsFigures.push_back({0, m.code, Kinds::creditByDueDate,
                                            QStringLiteral("Refunded by the due date"), r.made, -val(r.amount)});
                    p.steps[m.step].does += QStringLiteral(" Made by the due date, it is counted in the tax "
                                                           "unpaid then.");
                }
            r.amount = Money(); // not written
        }
    }

    bool individual() const { return form && form->kind == TranscriptRules::DueDate::Kind::Individual; }

    size_t existingCharges() const { return existing ? existing->charges.size() : 0; }

    // The selected case's values the transcript gives and the case lacks: only those are written.
    void fillExisting() {
        const TaxpayerCase& e = *existing;
        const auto fill = [this](const QString& column, const QVariant& value) { p.fills.push_back({column, value}); };
        if (c.extendedDueDate != e.extendedDueDate && c.extendedDueDate.isValid())
            fill(Columns::extendedDueDateOfReturn, c.extendedDueDate);
        if (tax && !c.initialBalance && !c.payroll) {
            c.initialBalance = *tax - netted;
            fill(Columns::initialBalance, c.initialBalance->toDouble());
        }
        if (!c.dateReturnFiled.isValid() && account.receivedOrDue.isValid()) {
            c.dateReturnFiled = std::max(account.receivedOrDue, due);
            fill(Columns::dateReturnFiled, c.dateReturnFiled);
        }
        if (irsFailureToFile && !c.failureToFile) {
            c.failureToFile = true;
            fill(Columns::calculateFailureToFilePenalty, true);
        }
        // The IRS's assessment of its failure-to-pay penalty is the day it was assessed, unless the case has an earlier
        // one.
        if (failureToPayAssessed.isValid() && (!c.failureToPay || !c.failureToPayAssessment.isValid() ||
                                               c.failureToPayAssessment > failureToPayAssessed)) {
            if (!c.failureToPay)
                fill(Columns::calculateFailureToPayPenalty, true);
            c.failureToPay = true;
            c.failureToPayAssessment = failureToPayAssessed;
            fill(Columns::assessmentDateForFailureToPayPenalty, failureToPayAssessed);
        }
        const QDate extended = c.extendedDueDate.isValid() ? c.extendedDueDate : due;
        if (installmentAgreement.isValid() && individual() && !c.decreasedFailureToPay && c.failureToPay &&
            c.dateReturnFiled.isValid() && c.dateReturnFiled <= extended) {
            c.decreasedFailureToPay = true;
            c.decreasedFailureToPayBegins = installmentAgreement;
            fill(Columns::calculateDecreasedFailureToPayPenalty, true);
            fill(Columns::dateToBeginDecreasedFailureToPayPenalty, installmentAgreement);
        }
        if (levyNotice.isValid() && !c.increasedFailureToPay && c.failureToPay) {
            c.increasedFailureToPay = true;
            c.increasedFailureToPayBegins = levyNotice.addDays(10);
            fill(Columns::calculateIncreasedFailureToPayPenalty, true);
            fill(Columns::dateToBeginIncreasedFailureToPayPenalty, c.increasedFailureToPayBegins);
        }
        if (c.payroll && c.deposits.empty() && tax)
            payrollLiability();
        for (const auto& [column, value] : p.fills)
            p.notes << QStringLiteral("The case's %1 is filled from the transcript.").arg(column);
    }

    void payrollLiability() {
        // The transcript gives the quarter's tax, not its deposit schedule.
        TaxpayerCase::Deposit d;
        d.event = EventTexts::liability;
        d.due = due;
        d.required = tax.value_or(Money());
        d.assessed = depositAssessed.isValid() ? depositAssessed : (taxAssessed.isValid() ? taxAssessed : due);
        c.deposits.push_back(d);
        p.notes << QStringLiteral("The transcript gives the quarter's tax, not what was due at each deposit date: the "
                                  "tax is one liability due with the return. To check the IRS's failure-to-deposit "
                                  "penalty, enter the liability of each deposit period on the deposits form.");
    }

    void fillNew() {
        // The return's filing date: the later of the due date and the day it was received, as the header gives it.
        if (account.receivedOrDue.isValid()) {
            c.dateReturnFiled = account.receivedOrDue > due ? account.receivedOrDue : due;
        } else if (taxAssessed.isValid()) {
            c.dateReturnFiled = taxAssessed;
            filedGuessed = true;
            p.notes << QStringLiteral("The transcript does not say when the return was received: the date filed is "
                                      "the day its tax was assessed, %1, and the failure-to-file penalty is computed "
                                      "only if the IRS assessed one. Correct the date on the taxpayer form.")
                           .arg(day(taxAssessed));
        } else {
            p.notes << QStringLiteral("The transcript shows no return filed (code 150): enter the tax and the date "
                                      "filed on the taxpayer form.");
        }
        if (!c.extendedDueDate.isValid())
            c.extendedDueDate = due;
        c.endDate = account.accruedAsOf.isValid() ? account.accruedAsOf : today;
        if (!account.accruedAsOf.isValid())
            p.notes << QStringLiteral("The transcript gives no date its accruals are figured to: the case is "
                                      "computed to today, %1. Change the End Date to the day you need.")
                           .arg(day(today));
        if (c.payroll) {
            payrollLiability();
        } else {
            c.initialBalance = tax.value_or(Money()) - netted;
            if (netted != Money())
                p.notes << QStringLiteral("The Initial Balance is the tax unpaid on the due date: the tax %1 less %2 "
                                          "paid or credited by then, %3.")
                               .arg(money(tax.value_or(Money())), money(netted), money(*c.initialBalance));
        }
        const auto irsTotal = [this](const QString& kind, bool* assessed) {
            Money sum;
            for (const auto& f : c.irsFigures)
                if (f.event == kind) {
                    sum += val(f.amount);
                    *assessed = true;
                }
            return sum;
        };
        // A penalty the IRS assessed and then abated in full is not computed either (it can be ticked again).
        bool ftfAssessed = irsFailureToFile, ftpAssessed = failureToPayAssessed.isValid();
        const bool ftfAbated = irsTotal(Kinds::failureToFile, &ftfAssessed) == Money() && irsFailureToFile;
        const bool ftpAbated = irsTotal(Kinds::failureToPay, &ftpAssessed) == Money() && ftpAssessed;
        c.failureToFile = !ftfAbated && (irsFailureToFile || (!filedGuessed && c.dateReturnFiled.isValid() &&
                                                              c.dateReturnFiled > c.extendedDueDate));
        if (ftfAbated)
            p.notes << QStringLiteral("The IRS abated its failure-to-file penalty in full: the case does not compute "
                                      "one (tick it on the taxpayer form to see what it would be).");
        // Tax unpaid on the due date bears the failure-to-pay penalty; a payroll return's tax is its liability less
        // the deposits made by then.
        Money unpaid = val(c.initialBalance);
        if (c.payroll) {
            unpaid = tax.value_or(Money());
            for (const auto& pay : c.payments)
                if (pay.row == 0 && pay.date <= due)
                    unpaid -= val(pay.toTax);
        }
        c.failureToPay = !ftpAbated && (failureToPayAssessed.isValid() || unpaid > Money());
        if (ftpAbated)
            p.notes << QStringLiteral("The IRS abated its failure-to-pay penalty in full: the case does not compute "
                                      "one (tick it on the taxpayer form to see what it would be).");
        if (c.failureToPay)
            c.failureToPayAssessment = failureToPayAssessed.isValid() ? failureToPayAssessed : c.endDate;
        if (installmentAgreement.isValid() && !individual()) {
            p.notes << QStringLiteral("The installment agreement of %1 does not lower the failure-to-pay rate: the "
                                      "0.25 % rate is for an individual's return (IRC 6651(h)).")
                           .arg(day(installmentAgreement));
        } else if (installmentAgreement.isValid()) {
            const bool onTime = c.dateReturnFiled.isValid() && c.dateReturnFiled <= c.extendedDueDate;
            if (onTime) {
                c.decreasedFailureToPay = c.failureToPay;
                c.decreasedFailureToPayBegins = installmentAgreement;
            } else {
                p.notes << QStringLiteral("The installment agreement of %1 does not lower the failure-to-pay rate: "
                                          "the return was not filed on time (IRC 6651(h)).")
                               .arg(day(installmentAgreement));
            }
        }
        if (levyNotice.isValid() && c.failureToPay) {
            c.increasedFailureToPay = true;
            c.increasedFailureToPayBegins = levyNotice.addDays(10);
        }
    }
};

QVariant dateValue(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant();
}

QVariant moneyValue(const std::optional<Money>& m) {
    return m ? QVariant(m->toDouble()) : QVariant();
}

} // namespace

int Plan::transactions() const {
    int n = 0;
    for (const auto& l : account.lines)
        n += l.transaction.has_value();
    return n;
}

int Plan::leftOut() const {
    int n = 0;
    for (const auto& s : steps)
        n += s.leftOut;
    return n;
}

Plan plan(const Transcript::Account& account, const TranscriptRules::Rules& rules, const std::vector<Holiday>& holidays,
          const std::optional<TaxpayerCase>& into, const QString& source, const QDate& today) {
    try {
        return Planner(account, rules, holidays, into, source, today).run();
    } catch (const Rounding::ArithmeticFault&) {
        throw StoreError(QStringLiteral("The file %1: its amounts add up to more than the largest amount the program "
                                        "takes; nothing can be imported from it.")
                             .arg(source));
    }
}

int write(Database& db, const Plan& p, const QString& clientCode) {
    const TaxpayerCase& c = p.made;
    Transaction t(db);
    int number = 0;
    if (p.into) {
        number = *p.into;
        // The case may have been deleted since the preview was made: nothing is written for a taxpayer not there.
        if (db.query(Sql::countTaxpayers({number})).value(0, 0).toInt() == 0)
            throw StoreError(
                QStringLiteral("Taxpayer %1 is no longer in the database: the transcript was not added.").arg(number));
        QStringList sets;
        for (const auto& [column, value] : p.fills) {
            const QString text = value.typeId() == QMetaType::QDate  ? SqlText::date(value.toDate())
                                 : value.typeId() == QMetaType::Bool ? QString(value.toBool() ? "1" : "0")
                                                                     : SqlText::dbl(value.toDouble());
            sets << QLatin1Char('[') + column + QStringLiteral("] = ") + text;
        }
        if (!sets.isEmpty())
            db.exec(QStringLiteral("UPDATE [Basic Taxpayer Data] SET %1 WHERE [Taxpayer Number] = %2")
                        .arg(sets.join(QStringLiteral(", ")), SqlText::whole(number)));
    } else {
        const RecordSet highest = db.query(Sql::highestTaxpayerNumber());
        number = (highest.isEmpty() ? 0 : highest.value(0, 0).toInt()) + 1;
        db.insertRows(Tables::basicTaxpayerData,
                      {Columns::taxpayerNumber, Columns::taxpayerName, Columns::startDate, Columns::endDate,
                       Columns::originalDueDateOfReturn, Columns::extendedDueDateOfReturn, Columns::dateReturnFiled,
                       Columns::initialBalance, Columns::calculateFailureToFilePenalty,
                       Columns::calculateFailureToPayPenalty, Columns::assessmentDateForFailureToPayPenalty,
                       Columns::calculateIncreasedFailureToPayPenalty, Columns::dateToBeginIncreasedFailureToPayPenalty,
                       Columns::calculateDecreasedFailureToPayPenalty, Columns::dateToBeginDecreasedFailureToPayPenalty,
                       Columns::calculateAccuracyRelatedPenalty, Columns::payrollTaxSituation,
                       Columns::corporateTaxpayer, Columns::clientCode},
                      {{number, c.name, dateValue(c.startDate), dateValue(c.endDate), dateValue(c.originalDueDate),
                        dateValue(c.extendedDueDate), dateValue(c.dateReturnFiled), moneyValue(c.initialBalance),
                        c.failureToFile, c.failureToPay, dateValue(c.failureToPayAssessment), c.increasedFailureToPay,
                        dateValue(c.increasedFailureToPayBegins), c.decreasedFailureToPay,
                        dateValue(c.decreasedFailureToPayBegins), false, c.payroll, c.corporate,
                        clientCode.isEmpty() ? QVariant() : QVariant(clientCode.left(50))}});
    }
    std::vector<QVariantList> rows;
    for (const auto& pay : c.payments)
        if (pay.row == 0)
            rows.push_back({number, c.name, pay.event, dateValue(pay.date), moneyValue(pay.amount),
                            val(pay.toInterest) == Money(), moneyValue(pay.toTax), moneyValue(pay.toPenalties),
                            moneyValue(pay.toInterest), dateValue(pay.liabilityDueDate)});
    if (!rows.empty())
        db.insertRows(Tables::payments,
                      {Columns::taxpayerNumber, Columns::taxpayerName, Columns::event, Columns::dateOfPayment,
                       Columns::amountOfPayment, Columns::useIRSAllocation, Columns::paymentAllocatedToTax,
                       Columns::paymentAllocatedToPenalties, Columns::paymentAllocatedToInterest,
                       Columns::dueDateOfLiability},
                      rows);
    rows.clear();
    size_t text = 0;
    for (const auto& ch : c.charges)
        if (ch.row == 0) {
            const Plan::NewCharge given = text < p.chargeTexts.size() ? p.chargeTexts[text] : Plan::NewCharge();
            ++text;
            rows.push_back({number, c.name, ch.event, given.description, dateValue(given.incurred),
                            dateValue(ch.interestStarts), moneyValue(ch.asTax), moneyValue(ch.asTax),
                            moneyValue(ch.asPenalty), moneyValue(ch.unclassified)});
        }
    if (!rows.empty())
        db.insertRows(Tables::charges,
                      {Columns::taxpayerNumber, Columns::taxpayerName, Columns::event, Columns::description,
                       Columns::dateLiabilityIncurred, Columns::dateInterestStarts, Columns::totalAmountOfCharge,
                       Columns::chargeClassifiedAsTax, Columns::chargeClassifiedAsPenalty, Columns::chargeUnclassified},
                      rows);
    rows.clear();
    for (const auto& d : c.deposits)
        if (d.row == 0)
            rows.push_back(
                {number, c.name, d.event, dateValue(d.due), dateValue(d.assessed), moneyValue(d.required), false});
    if (!rows.empty())
        db.insertRows(Tables::deposits,
                      {Columns::taxpayerNumber, Columns::taxpayerName, Columns::event, Columns::depositDueDate,
                       Columns::assessmentDate, Columns::requiredDeposit, Columns::sec6656b1B},
                      rows);
    rows.clear();
    for (const auto& r : c.refunds)
        if (r.row == 0)
            rows.push_back({number, r.event, dateValue(r.made), dateValue(r.interestTo), moneyValue(r.amount)});
    if (!rows.empty())
        db.insertRows(Tables::refunds,
                      {Columns::taxpayerNumber, Columns::event, Columns::dateOfRefund, Columns::interestToDate,
                       Columns::amountOfRefund},
                      rows);
    rows.clear();
    for (const auto& f : c.irsFigures)
        if (f.row == 0)
            rows.push_back({number, f.code, f.event, f.description, dateValue(f.date), moneyValue(f.amount)});
    if (!rows.empty())
        db.insertRows(Tables::irsFigures,
                      {Columns::taxpayerNumber, Columns::transactionCode, Columns::event, Columns::description,
                       Columns::date, Columns::amount},
                      rows);
    t.commit();
    return number;
}

} // namespace TranscriptImport
