#pragma once

#include "PublishedFigures.h"
#include "TaxpayerCase.h"
#include "Transcript.h"
#include "TranscriptRules.h"

#include <QStringList>

#include <optional>
#include <vector>

class Database;

// An IRS account transcript made a case: what each of its lines does, shown before anything is written, and the
// writing of it, all in one transaction. A case is made for the transcript's tax period, or the transcript is added to
// a case of the same period. Refusals are thrown as StoreError with the line they concern.
namespace TranscriptImport {

struct Step {
    int line = 0;
    QString text;         // the line as the file has it
    QString does;         // what the import does with it
    bool leftOut = false; // a transaction the import does not write (an unknown code, a reversal of nothing ...)
};

struct Plan {
    QString source;
    Transcript::Account account;
    TaxpayerCase made;        // the taxpayer's values and the rows to write (rows numbered 0: they get new numbers)
    std::vector<Step> steps;  // every line of the file, one for each of the account's lines
    QStringList unknownCodes; // "999 (line 23)"
    QStringList notes;        // what the user should look at after the import
    std::optional<int> into;  // the case it adds to
    struct NewCharge {
        QString description;
        QDate incurred;
    };
    std::vector<NewCharge> chargeTexts; // the transcript's words and date of each charge it makes, in order
    // The existing case's values the import fills because the case lacks them (adding to a case): a column of
    // [Basic Taxpayer Data] and its value (a date, a yes or no, an amount).
    std::vector<std::pair<QString, QVariant>> fills;

    int transactions() const;
    int leftOut() const;
};

// What a transcript would do. `into`: the selected case it adds to (its tax period must be the transcript's).
// `holidays`: the legal holidays a due date moves past (none: weekends only).
Plan plan(const Transcript::Account& account, const TranscriptRules::Rules& rules, const std::vector<Holiday>& holidays,
          const std::optional<TaxpayerCase>& into, const QString& source, const QDate& today);

// Writes the plan in one transaction and returns the taxpayer's number (a new one, or the case added to).
int write(Database& db, const Plan& plan, const QString& clientCode = QString());

// The kinds of the IRS's figures, as [IRS Figures Table] names them.
namespace Kinds {
inline const QString failureToFile = QStringLiteral("Failure To File Penalty");
inline const QString failureToPay = QStringLiteral("Failure To Pay Penalty");
inline const QString estimatedTax = QStringLiteral("Estimated Tax Penalty");
inline const QString deposit = QStringLiteral("Deposit Penalty");
inline const QString otherPenalty = QStringLiteral("Other Penalty");
inline const QString interest = QStringLiteral("Interest");
inline const QString overpaymentInterest = QStringLiteral("Overpayment Interest");
// A payment or credit by the due date, counted in the case's Initial Balance (the tax unpaid on the due date).
inline const QString creditByDueDate = QStringLiteral("Credit By The Due Date");
} // namespace Kinds

} // namespace TranscriptImport
