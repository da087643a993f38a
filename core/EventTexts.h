#pragma once

#include <QString>
#include <QStringList>

// The [Event] of the rows the program makes.
namespace EventTexts {
inline const QString payment = QStringLiteral("Payment");          // a payment entered on the payment form
inline const QString liability = QStringLiteral("Liability");      // a required deposit
inline const QString otherCharge = QStringLiteral("Other Charge"); // an additional charge
inline const QString initialBalance = QStringLiteral("Initial Balance");
inline const QString interest = QStringLiteral("Interest");
inline const QString refund = QStringLiteral("Refund"); // a refund, or a credit out to another period
inline const QString accuracy = QStringLiteral("Penalty - Accuracy");
inline const QString failureToPay = QStringLiteral("Penalty - Failure To Pay");
inline const QString failureToFile = QStringLiteral("Penalty - Failure To File");
inline const QString lateDeposit = QStringLiteral("Penalty - Late Deposit");
inline const QString unpaidBalance = QStringLiteral("Unpaid Balance"); // a deposit still unpaid at the end date
// Every penalty row the engines make: a new kind of penalty adds its text here (and a golden case that shows it).
inline const QStringList penalties = {accuracy, failureToPay, failureToFile, lateDeposit};
} // namespace EventTexts
