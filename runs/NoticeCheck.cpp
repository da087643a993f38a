#include "NoticeCheck.h"

#include "Amount.h"
#include "CalculationRun.h"
#include "CsvText.h"
#include "DateMath.h"
#include "FailureToFileMinimum.h"
#include "KeptReporter.h"
#include "MoneyText.h"
#include "RunReporter.h"
#include "StoreError.h"
#include "Transcript.h"
#include "TranscriptImport.h"

#include <QStringDecoder>
#include <QStringList>

namespace NoticeCheck {
namespace {

QString day(const QDate& d) {
    return d.toString(QStringLiteral("MM/dd/yyyy"));
}

QString money(Money m) {
    return groupedDecimal(m.cents(), 2);
}

// The figures of one run of the case, as the notice's lines count them.
struct Figures {
    SummaryTotals totals;
    Money tax, payments;
};

Figures figuresOf(const TaxpayerCase& c, const SummaryTotals& totals) {
    Figures f;
    f.totals = totals;
    const QDate to = c.endDate;
    if (c.payroll) {
        for (const auto& d : c.deposits)
            if (d.due.isValid() && d.due <= to)
                f.tax += val(d.required);
    } else {
        f.tax = val(c.initialBalance);
    }
    for (const auto& ch : c.charges)
        if (ch.interestStarts.isValid() && ch.interestStarts <= to)
            f.tax += val(ch.asTax);
    for (const auto& p : c.payments)
        if (p.date.isValid() && p.date <= to)
            f.payments += val(p.toTax) + val(p.toPenalties) + val(p.toInterest);
    for (const auto& r : c.refunds)
        if (r.made.isValid() && r.made <= to)
            f.payments -= val(r.amount);
    // What an imported transcript credited by the due date is in the Initial Balance; a notice counts it apart.
    if (!c.payroll)
        for (const auto& credit : c.irsFigures)
            if (credit.event == TranscriptImport::Kinds::creditByDueDate) {
                f.tax += val(credit.amount);
                f.payments += val(credit.amount);
            }
    return f;
}

std::optional<Money> programLine(const Figures& f, Item item) {
    switch (item) {
    case Item::Tax:
        return f.tax;
    case Item::FailureToFile:
        return f.totals.TotalFFPenalty;
    case Item::FailureToPay:
        return f.totals.TotalFPPenalty;
    case Item::EstimatedTax:
        return std::nullopt; // its own report
    case Item::Deposit:
        return f.totals.TotalFDepositPenalty;
    case Item::Accuracy:
        return f.totals.TotalAccPenalty;
    case Item::Interest:
        return f.totals.TotalInterest;
    case Item::Payments:
        return f.payments;
    case Item::AmountDue:
        return f.totals.TotalBalance;
    }
    return std::nullopt;
}

std::optional<Figures> run(const TaxpayerCase& c, RunReporter& reporter, RunOutcome* outcome = nullptr) {
    SummaryTotals totals;
    const RunOutcome o = CalculationRun(reporter).summaryTotals(c, &totals);
    if (outcome)
        *outcome = o;
    if (o != RunOutcome::Written)
        return std::nullopt;
    return figuresOf(c, totals);
}

} // namespace

QString caption(Item item) {
    switch (item) {
    case Item::Tax:
        return QStringLiteral("Tax");
    case Item::FailureToFile:
        return QStringLiteral("Failure-to-file penalty");
    case Item::FailureToPay:
        return QStringLiteral("Failure-to-pay penalty");
    case Item::EstimatedTax:
        return QStringLiteral("Estimated tax penalty");
    case Item::Deposit:
        return QStringLiteral("Failure-to-deposit penalty");
    case Item::Accuracy:
        return QStringLiteral("Accuracy-related penalty");
    case Item::Interest:
        return QStringLiteral("Interest");
    case Item::Payments:
        return QStringLiteral("Payments and credits");
    case Item::AmountDue:
        return QStringLiteral("Amount due");
    }
    return QString();
}

QString key(Item item) {
    switch (item) {
    case Item::Tax:
        return QStringLiteral("tax");
    case Item::FailureToFile:
        return QStringLiteral("failure_to_file");
    case Item::FailureToPay:
        return QStringLiteral("failure_to_pay");
    case Item::EstimatedTax:
        return QStringLiteral("estimated_tax");
    case Item::Deposit:
        return QStringLiteral("failure_to_deposit");
    case Item::Accuracy:
        return QStringLiteral("accuracy_related");
    case Item::Interest:
        return QStringLiteral("interest");
    case Item::Payments:
        return QStringLiteral("payments");
    case Item::AmountDue:
        return QStringLiteral("amount_due");
    }
    return QString();
}

Notice readNotice(const QByteArray& bytes, const QString& source) {
    const auto refuse = [&source](int line, const QString& why) {
        throw StoreError(QStringLiteral("The notice file %1, line %2: %3").arg(source).arg(line).arg(why));
    };
    if (bytes.size() > (1 << 20) || bytes.contains('\0'))
        throw StoreError(
            QStringLiteral("The notice file %1 is not a small text file of \"item,value\" lines.").arg(source));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        throw StoreError(QStringLiteral("The notice file %1 is not UTF-8 text.").arg(source));
    text.replace(QChar(0x2212), QLatin1Char('-')); // the minus sign a notice prints
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.value(0).trimmed() != QLatin1String("item,value"))
        refuse(1, QStringLiteral("a notice file begins with the line \"item,value\"."));
    Notice n;
    for (int i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        const QString name = line.left(comma).trimmed().toLower();
        QString value = comma < 0 ? QString() : line.mid(comma + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        if (comma < 0 || value.isEmpty())
            refuse(i + 1, QStringLiteral("each line is an item, a comma and its value."));
        if (name == QLatin1String("kind")) {
            n.kind = value.left(20);
            continue;
        }
        if (name == QLatin1String("notice_date") || name == QLatin1String("figured_to")) {
            QDate d = QDate::fromString(value, QStringLiteral("MM/dd/yyyy"));
            if (!d.isValid())
                d = QDate::fromString(value, QStringLiteral("M/d/yyyy"));
            if (!d.isValid() || d.year() < 1900)
                refuse(i + 1, QStringLiteral("\"%1\" is not a date MM/DD/YYYY.").arg(value.left(40)));
            QDate& into = name == QLatin1String("notice_date") ? n.date : n.figuredTo;
            if (into.isValid())
                refuse(i + 1, QStringLiteral("%1 is given twice.").arg(name));
            into = d;
            continue;
        }
        const Item* found = nullptr;
        for (const Item& item : items)
            if (key(item) == name)
                found = &item;
        if (!found)
            refuse(i + 1, QStringLiteral("\"%1\" is not an item of a notice (kind, notice_date, figured_to, tax, "
                                         "failure_to_file, failure_to_pay, estimated_tax, failure_to_deposit, "
                                         "accuracy_related, interest, payments, amount_due).")
                              .arg(name.left(40)));
        const auto amount = Transcript::amountOf(value);
        if (!amount)
            refuse(i + 1, QStringLiteral("\"%1\" is not an amount.").arg(value.left(40)));
        if (n.lines.count(*found))
            refuse(i + 1, QStringLiteral("%1 is given twice.").arg(name));
        // Only the payments (printed as a credit) and the amount due (a credit balance) may be below zero.
        if (*amount < Money() && *found != Item::Payments && *found != Item::AmountDue)
            refuse(i + 1, QStringLiteral("%1 is below zero; a notice prints it as an amount owed.").arg(name));
        n.lines[*found] = *found == Item::Payments && *amount < Money() ? -*amount : *amount;
    }
    if (!n.date.isValid())
        throw StoreError(QStringLiteral("The notice file %1 has no notice_date.").arg(source));
    if (!n.figuredTo.isValid())
        n.figuredTo = n.date;
    return n;
}

TaxpayerCase asOf(const TaxpayerCase& taxpayer, const QDate& day) {
    TaxpayerCase c = taxpayer;
    c.endDate = day;
    if (c.failureToPay && (!c.failureToPayAssessment.isValid() || c.failureToPayAssessment > day))
        c.failureToPayAssessment = day;
    // An installment agreement or a levy notice of a later day had not changed the rate yet.
    if (c.decreasedFailureToPay && c.decreasedFailureToPayBegins.isValid() && c.decreasedFailureToPayBegins > day)
        c.decreasedFailureToPay = false;
    if (c.increasedFailureToPay && c.increasedFailureToPayBegins.isValid() && c.increasedFailureToPayBegins > day)
        c.increasedFailureToPay = false;
    // Tax assessed after the day (an examination's) was not on the account then.
    std::erase_if(c.charges, [&day](const auto& ch) { return ch.incurred.isValid() && ch.incurred > day; });
    return c;
}

RunOutcome check(const TaxpayerCase& taxpayer, const Notice& notice, RunReporter& reporter, Result* result) {
    if (taxpayer.originalDueDate.isValid() && notice.figuredTo < taxpayer.originalDueDate) {
        reporter.message(QStringLiteral("The notice's amounts are figured to %1, before the return's due date %2: "
                                        "check the notice's dates.")
                             .arg(day(notice.figuredTo), day(taxpayer.originalDueDate)));
        return RunOutcome::Stopped;
    }
    // The case to the notice's date; the failure-to-pay accrued to then counts as the notice counts it.
    TaxpayerCase c = asOf(taxpayer, notice.figuredTo);
    RunOutcome outcome = RunOutcome::Stopped;
    const auto base = run(c, reporter, &outcome);
    if (!base)
        return outcome;
    Result r;
    r.number = taxpayer.number;
    r.name = taxpayer.name;
    r.notice = notice;
    for (const Item item : items) {
        const auto it = notice.lines.find(item);
        const std::optional<Money> given = it == notice.lines.end() ? std::nullopt : std::optional<Money>(it->second);
        const std::optional<Money> ours = programLine(*base, item);
        if (given || (ours && *ours != Money()))
            r.lines.push_back({item, given, ours});
    }
    const auto noticeOf = [&notice](Item item) -> std::optional<Money> {
        const auto it = notice.lines.find(item);
        return it == notice.lines.end() ? std::nullopt : std::optional<Money>(it->second);
    };
    const auto differs = [&](Item item) {
        const auto n = noticeOf(item);
        const auto p = programLine(*base, item);
        return n && p && *n != *p;
    };
    const auto add = [&](Item item, QString text, Money figure) {
        const auto n = noticeOf(item);
        const bool matches = n && *n == figure;
        text += matches ? QStringLiteral(" This is the notice's figure.")
                        : QStringLiteral(" The notice has %1.").arg(n ? money(*n) : QStringLiteral("no figure"));
        r.causes.push_back({item, text, figure, matches});
    };
    KeptReporter quiet;

    // A payment the case has that the notice does not count.
    if (differs(Item::Payments) && *noticeOf(Item::Payments) < base->payments) {
        const Money missing = base->payments - *noticeOf(Item::Payments);
        for (const auto& p : c.payments) {
            const Money amount = val(p.toTax) + val(p.toPenalties) + val(p.toInterest);
            if (!p.date.isValid() || p.date > c.endDate || amount != missing)
                continue;
            TaxpayerCase without = c;
            std::erase_if(without.payments, [&p](const auto& q) { return q.row == p.row && q.date == p.date; });
            if (const auto f = run(without, quiet))
                add(Item::AmountDue,
                    QStringLiteral("The notice does not count the payment of %1 made %2: without it the amount due "
                                   "would be %3.")
                        .arg(money(amount), day(p.date), money(f->totals.TotalBalance)),
                    f->totals.TotalBalance);
        }
    }
    // The 0.25 % rate of an installment agreement applied from the month after the agreement, as the IRS does.
    if (c.failureToPay && c.decreasedFailureToPay && c.decreasedFailureToPayBegins.isValid()) {
        TaxpayerCase late = c;
        late.decreasedFailureToPayBegins = DateMath::addMonth(c.decreasedFailureToPayBegins);
        if (const auto f = run(late, quiet))
            if (f->totals.TotalFPPenalty != base->totals.TotalFPPenalty || differs(Item::FailureToPay))
                add(Item::FailureToPay,
                    QStringLiteral("Failure-to-pay with the 0.25 % rate of the installment agreement of %1 begun one "
                                   "month later than the program begins it (the IRS's practice of beginning it in the "
                                   "month after the agreement, TIGTA report 2003-10-077) gives %2 (the program: %3).")
                        .arg(day(c.decreasedFailureToPayBegins), money(f->totals.TotalFPPenalty),
                             money(base->totals.TotalFPPenalty)),
                    f->totals.TotalFPPenalty);
    }
    // Interest on the failure-to-pay as it accrues, before it is assessed.
    if (c.failureToPay && base->totals.TotalFPPenalty > Money() && c.originalDueDate.isValid()) {
        TaxpayerCase accrued = c;
        accrued.failureToPayAssessment = c.originalDueDate;
        if (const auto f = run(accrued, quiet))
            if (f->totals.TotalInterest != base->totals.TotalInterest)
                add(Item::Interest,
                    QStringLiteral("Interest charged on the failure-to-pay penalty as it accrues, before it is "
                                   "assessed (it bears interest only from notice and demand, IRC 6601(e)(2)), gives "
                                   "%1 (the program: %2).")
                        .arg(money(f->totals.TotalInterest), money(base->totals.TotalInterest)),
                    f->totals.TotalInterest);
    }
    // The failure-to-file minimum of a return more than 60 days late.
    const QDate ext = c.extendedDueDate.isValid() ? c.extendedDueDate : c.originalDueDate;
    const bool late = c.dateReturnFiled.isValid() && ext.daysTo(c.dateReturnFiled) > 60;
    if (c.failureToFile && !c.payroll && late && differs(Item::FailureToFile) && c.figures) {
        if (const auto minimum = FailureToFileMinimum(c.figures->failureToFileMinimums).amountFor(ext.year())) {
            // The tax the penalty is figured on: the Initial Balance, the tax unpaid on the due date.
            const Money unpaid = val(c.initialBalance);
            const Money least = std::min(*minimum, std::max(unpaid, Money()));
            add(Item::FailureToFile,
                QStringLiteral("The failure-to-file minimum for a return due in %1 is the lesser of %2 and the tax "
                               "unpaid, %3: %4. The return was filed %5 days after its extended due date, so the "
                               "minimum %6.")
                    .arg(ext.year())
                    .arg(money(*minimum), money(unpaid), money(least))
                    .arg(c.dateReturnFiled.isValid() ? ext.daysTo(c.dateReturnFiled) : 0)
                    .arg(QStringLiteral("applies when it is more than the penalty figured by the month")),
                least);
        }
    }
    *result = std::move(r);
    return RunOutcome::Written;
}

RecordSet rows(const Result& r) {
    RecordSet set(
        {QStringLiteral("Line"), QStringLiteral("Notice"), QStringLiteral("Program"), QStringLiteral("Difference")});
    const auto dollars = [](const std::optional<Money>& m) {
        return m ? QVariant(double(m->cents()) / 100.0) : QVariant();
    };
    for (const auto& l : r.lines) {
        const std::optional<Money> difference =
            l.notice && l.program ? std::optional<Money>(*l.notice - *l.program) : std::nullopt;
        set.append({caption(l.item) + (l.program ? QString() : QStringLiteral(" (not computed here)")),
                    dollars(l.notice), dollars(l.program), dollars(difference)});
    }
    return set;
}

QStringList causeNotes(const Result& r) {
    QStringList notes;
    bool any = false;
    for (const auto& l : r.lines)
        any = any || (l.notice && l.program && *l.notice != *l.program);
    if (!any)
        notes << QStringLiteral("Every line of the notice the program computes agrees with it.");
    for (const auto& c : r.causes)
        notes << caption(c.item) + QStringLiteral(": ") + c.text;
    if (any && r.causes.empty())
        notes << QStringLiteral("None of the causes the program tests (a payment not counted, the 0.25 % rate a "
                                "month late, interest on failure-to-pay not yet assessed, the failure-to-file "
                                "minimum) explains the difference.");
    return notes;
}

QString csv(const Result& r) {
    QStringList out;
    out << QStringLiteral("Line,Notice,Program,Difference");
    const auto cell = [](const std::optional<Money>& m) { return m ? plainDecimal(m->cents(), 2) : QString(); };
    for (const auto& l : r.lines)
        out << CsvText::text(caption(l.item)) + QLatin1Char(',') + cell(l.notice) + QLatin1Char(',') + cell(l.program) +
                   QLatin1Char(',') +
                   cell(l.notice && l.program ? std::optional<Money>(*l.notice - *l.program) : std::nullopt);
    out << QString() << QStringLiteral("Line,Cause,Figure,Matches The Notice");
    for (const auto& c : r.causes)
        out << CsvText::text(caption(c.item)) + QLatin1Char(',') + CsvText::text(c.text) + QLatin1Char(',') +
                   plainDecimal(c.figure.cents(), 2) + QLatin1Char(',') +
                   (c.matches ? QStringLiteral("Yes") : QStringLiteral("No"));
    return out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace NoticeCheck
