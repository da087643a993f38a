#pragma once

#include <QString>

// The names of a case's values as the user knows them from the forms, for the messages that name a missing value
// ("The 'End Date' is missing.").
namespace Labels {
inline const QString endDate = QStringLiteral("End Date");
inline const QString originalDueDate = QStringLiteral("Original Due Date Of Return");
inline const QString extendedDueDate = QStringLiteral("Extended Due Date Of Return");
inline const QString dateReturnFiled = QStringLiteral("Date Return Filed");
inline const QString initialBalance = QStringLiteral("Initial Balance");
inline const QString quarterStartDate = QStringLiteral("Quarter Start Date");
inline const QString failureToPayAssessment = QStringLiteral("Assessment Date For Failure To Pay Penalty");
inline const QString increasedFailureToPayBegins = QStringLiteral("Date To Begin Increased Failure To Pay Penalty");
inline const QString decreasedFailureToPayBegins = QStringLiteral("Date To Begin Decreased Failure To Pay Penalty");
inline const QString accuracyUnderpayment = QStringLiteral("Accuracy Related Underpayment");
inline const QString largeCorporateRateApplicableDate = QStringLiteral("Large Corporate Rate Applicable Date");
inline const QString taxYearEnd = QStringLiteral("Tax Year End");
inline const QString currentYearTax = QStringLiteral("Current Year Tax");
inline const QString priorYearTax = QStringLiteral("Prior Year Tax");
} // namespace Labels
