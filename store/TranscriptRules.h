#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

// What the import of an account transcript knows of the IRS's codes and forms, from the data files installed with
// the program (`transaction-codes.csv`, `return-due-dates.csv`). A line that does not read is refused with a
// StoreError naming the file and the line.
namespace TranscriptRules {

enum class Action {
    Tax,
    Extension,
    Payment,
    PaidOnDueDate,
    PaymentToInterest,
    AdditionalTax,
    IrsFailureToFile,
    IrsFailureToPay,
    IrsEstimatedTax,
    IrsDeposit,
    IrsOtherPenalty,
    IrsInterest,
    IrsOverpaymentInterest,
    Refund,
    CreditOut,
    InstallmentAgreement,
    LevyNotice,
    Reversal,
    Note,
};

struct Code {
    QString code;
    Action action = Action::Note;
    QStringList reverses;        // the codes a reversal subtracts from, the first preferred
    QString explanationContains; // empty: any explanation
    QString meaning;
};

struct DueDate {
    QString form;
    QDate periodsEndingFrom, periodsEndingTo;
    int periodMonth = 0; // the month the period ends in, or 0 for any
    int monthsAfter = 0;
    int day = 0;           // 0: the month's last day
    int periodMonths = 12; // the period's length
    enum class Kind { Individual, Corporate, Payroll, Other } kind = Kind::Individual;
};

struct Rules {
    std::vector<Code> codes;
    std::vector<DueDate> dueDates;

    // The line for a transaction's code and explanation; null when the table does not know the code.
    const Code* find(const QString& code, const QString& explanation) const;
    // The rule for a form's period; null when the file has none.
    const DueDate* dueDate(const QString& form, const QDate& periodEnd) const;
};

std::vector<Code> parseCodes(const QString& csvText, const QString& source);
std::vector<DueDate> parseDueDates(const QString& csvText, const QString& source);
// Both installed files; throws a StoreError naming the one that is missing or does not read.
Rules installed();

// The day `rule` gives for a period ending `periodEnd`, before any move to a business day.
QDate dueDay(const DueDate& rule, const QDate& periodEnd);

} // namespace TranscriptRules
