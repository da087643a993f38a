#include "TranscriptRules.h"

#include "ProgramFiles.h"
#include "StoreError.h"
#include "WholeFile.h"

#include <QHash>

namespace TranscriptRules {
namespace {

[[noreturn]] void refuse(const QString& source, int line, const QString& why) {
    throw StoreError(QStringLiteral("The file %1, line %2: %3").arg(source).arg(line).arg(why));
}

QStringList linesOf(const QString& csvText, const QString& source, const QString& header) {
    QStringList lines = csvText.split(QLatin1Char('\n'));
    for (QString& l : lines)
        l = l.trimmed();
    if (lines.value(0) != header)
        throw StoreError(QStringLiteral("The file %1 does not begin with the line \"%2\".").arg(source, header));
    return lines;
}

} // namespace

std::vector<Code> parseCodes(const QString& csvText, const QString& source) {
    static const QHash<QString, Action> actions = {
        {QStringLiteral("tax"), Action::Tax},
        {QStringLiteral("extension"), Action::Extension},
        {QStringLiteral("payment"), Action::Payment},
        {QStringLiteral("paid_on_due_date"), Action::PaidOnDueDate},
        {QStringLiteral("payment_to_interest"), Action::PaymentToInterest},
        {QStringLiteral("additional_tax"), Action::AdditionalTax},
        {QStringLiteral("irs_failure_to_file"), Action::IrsFailureToFile},
        {QStringLiteral("irs_failure_to_pay"), Action::IrsFailureToPay},
        {QStringLiteral("irs_estimated_tax"), Action::IrsEstimatedTax},
        {QStringLiteral("irs_deposit"), Action::IrsDeposit},
        {QStringLiteral("irs_other_penalty"), Action::IrsOtherPenalty},
        {QStringLiteral("irs_interest"), Action::IrsInterest},
        {QStringLiteral("irs_overpayment_interest"), Action::IrsOverpaymentInterest},
        {QStringLiteral("refund"), Action::Refund},
        {QStringLiteral("credit_out"), Action::CreditOut},
        {QStringLiteral("installment_agreement"), Action::InstallmentAgreement},
        {QStringLiteral("levy_notice"), Action::LevyNotice},
        {QStringLiteral("reversal"), Action::Reversal},
        {QStringLiteral("note"), Action::Note},
    };
    const QStringList lines =
        linesOf(csvText, source, QStringLiteral("code,action,reverses,explanation_contains,meaning"));
    std::vector<Code> codes;
    for (int n = 1; n < lines.size(); ++n) {
        if (lines[n].isEmpty())
            continue;
        // The meaning is last and may hold commas.
        const QStringList cells = lines[n].split(QLatin1Char(','));
        if (cells.size() < 5)
            refuse(source, n + 1,
                   QStringLiteral("a line needs a code, an action, the codes it reverses, a text of the "
                                  "explanation and a meaning."));
        Code c;
        c.code = cells[0].trimmed();
        bool number = false;
        c.code.toInt(&number);
        if (c.code.size() != 3 || !number)
            refuse(source, n + 1, QStringLiteral("the code \"%1\" is not three digits.").arg(c.code));
        const auto action = actions.constFind(cells[1].trimmed());
        if (action == actions.constEnd())
            refuse(source, n + 1, QStringLiteral("the action \"%1\" is not one the import knows.").arg(cells[1]));
        c.action = *action;
        c.reverses = cells[2].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if ((c.action == Action::Reversal) != !c.reverses.isEmpty())
            refuse(source, n + 1, QStringLiteral("a reversal, and only a reversal, names the codes it reverses."));
        c.explanationContains = cells[3].trimmed();
        c.meaning = cells.mid(4).join(QLatin1Char(',')).trimmed();
        codes.push_back(std::move(c));
    }
    return codes;
}

std::vector<DueDate> parseDueDates(const QString& csvText, const QString& source) {
    const QStringList lines =
        linesOf(csvText, source,
                QStringLiteral("form,periods_ending_from,periods_ending_to,period_month,months_after,day,period_months,"
                               "kind"));
    std::vector<DueDate> rules;
    for (int n = 1; n < lines.size(); ++n) {
        if (lines[n].isEmpty())
            continue;
        const QStringList cells = lines[n].split(QLatin1Char(','));
        DueDate d;
        bool months = false, day = false, month = false, length = false;
        if (cells.size() == 8) {
            d.form = cells[0].trimmed().toUpper();
            d.periodsEndingFrom = QDate::fromString(cells[1].trimmed(), Qt::ISODate);
            d.periodsEndingTo = QDate::fromString(cells[2].trimmed(), Qt::ISODate);
            d.periodMonth = cells[3].trimmed().toInt(&month);
            d.monthsAfter = cells[4].trimmed().toInt(&months);
            d.day = cells[5].trimmed().toInt(&day);
            d.periodMonths = cells[6].trimmed().toInt(&length);
            const QString kind = cells[7].trimmed();
            d.kind = kind == QLatin1String("corporate") ? DueDate::Kind::Corporate
                     : kind == QLatin1String("payroll") ? DueDate::Kind::Payroll
                     : kind == QLatin1String("other")   ? DueDate::Kind::Other
                                                        : DueDate::Kind::Individual;
            day = day && (kind == QLatin1String("corporate") || kind == QLatin1String("payroll") ||
                          kind == QLatin1String("individual") || kind == QLatin1String("other"));
        }
        if (cells.size() != 8 || !month || d.periodMonth < 0 || d.periodMonth > 12 || !length || d.periodMonths < 1 ||
            d.periodMonths > 12 || d.form.isEmpty() || !d.periodsEndingFrom.isValid() || !d.periodsEndingTo.isValid() ||
            d.periodsEndingTo < d.periodsEndingFrom || !months || d.monthsAfter < 0 || d.monthsAfter > 12 || !day ||
            d.day < 0 || d.day > 31)
            refuse(source, n + 1,
                   QStringLiteral("a line needs a form, two dates YYYY-MM-DD in order, the month of the period's end "
                                  "(0 for any), a count of months (0 to 12), a day (0 for the month's last), the "
                                  "period's months (1 to 12) and a kind (individual, corporate, payroll or other)."));
        rules.push_back(std::move(d));
    }
    return rules;
}

const Code* Rules::find(const QString& code, const QString& explanation) const {
    const Code* any = nullptr;
    for (const auto& c : codes) {
        if (c.code != code)
            continue;
        if (c.explanationContains.isEmpty()) {
            if (!any)
                any = &c;
        } else if (explanation.contains(c.explanationContains, Qt::CaseInsensitive)) {
            return &c;
        }
    }
    return any;
}

const DueDate* Rules::dueDate(const QString& form, const QDate& periodEnd) const {
    for (const auto& d : dueDates)
        if (d.form == form.toUpper() && d.periodsEndingFrom <= periodEnd && periodEnd <= d.periodsEndingTo &&
            (d.periodMonth == 0 || d.periodMonth == periodEnd.month()))
            return &d;
    return nullptr;
}

QDate dueDay(const DueDate& rule, const QDate& periodEnd) {
    const QDate month = QDate(periodEnd.year(), periodEnd.month(), 1).addMonths(rule.monthsAfter);
    const int day = rule.day == 0 ? month.daysInMonth() : std::min(rule.day, month.daysInMonth());
    return QDate(month.year(), month.month(), day);
}

Rules installed() {
    const auto text = [](const QString& name) {
        return QString::fromUtf8(readRegularFile(DataFiles::path(name), dataFileLimit, QStringLiteral("data file")));
    };
    Rules r;
    r.codes = parseCodes(text(DataFiles::transactionCodes), DataFiles::path(DataFiles::transactionCodes));
    r.dueDates = parseDueDates(text(DataFiles::returnDueDates), DataFiles::path(DataFiles::returnDueDates));
    return r;
}

} // namespace TranscriptRules
