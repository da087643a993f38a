#pragma once

#include <QString>

#include <stdexcept>

// Ends a run. The text is what the user is shown, once: a missing value's message or a failure's description.
class RunStop : public std::runtime_error {
public:
    explicit RunStop(const QString& text) : std::runtime_error(text.toStdString()), shown(text) {}
    const QString& text() const { return shown; }

private:
    QString shown;
};

// Ends a run with the notice label instead of a message box (a payroll-tax case without deposits).
class RunNotice : public RunStop {
public:
    using RunStop::RunStop;
};

// Ends a run through the program's global error handler (the error report and the error state) instead of a
// message box: a failure of the summary totals.
class RunGlobalFailure : public RunStop {
public:
    using RunStop::RunStop;
};

#include <QDate>

namespace Messages {
QString missing(const QString& label); // "The '" label "' is missing."
// The date, or a RunStop with "The '<label>' is missing." when it is empty.
QDate required(const QDate& date, const QString& label);
inline const QString missingRate = QStringLiteral("There is a missing interest rate figure in the computation period.");
inline const QString noDeposits =
    QStringLiteral("You must enter at least one payroll tax deposit required by the IRS to print this report.");
inline const QString noRequiredDeposit = QStringLiteral("You must enter at least one required payroll tax deposit.");
inline const QString noPayment = QStringLiteral("There must be at least one payment to perform this calculation.");
inline const QString sameChangeDates =
    QStringLiteral("The Dates To Begin Increased Failure To Pay Penalty and To Begin Decreased Failure To Pay "
                   "Penalty can't be the same.");
} // namespace Messages
