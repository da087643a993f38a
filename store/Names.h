#pragma once

#include "EventTexts.h"

#include <QString>

// The names the program reads and writes data by: its tables and their columns (and, from core/, the event texts of
// the rows it writes). This is their one home; every other folder uses these constants (captions and messages, which
// are texts for the user, may repeat the words).

namespace Tables {
inline const QString basicTaxpayerData = QStringLiteral("Basic Taxpayer Data");
inline const QString payments = QStringLiteral("Payment Table");
inline const QString deposits = QStringLiteral("Required Payroll Tax Deposits");
inline const QString charges = QStringLiteral("Additional Charges");
inline const QString underpaymentRates = QStringLiteral("Interest Table");
inline const QString overpaymentRates = QStringLiteral("Overpayment Interest Table");
inline const QString events = QStringLiteral("Event Table");
inline const QString summary = QStringLiteral("Summary Table");
inline const QString largeCorporateRates = QStringLiteral("Large Corporate Underpayment Interest Table");
inline const QString failureToFileMinimums = QStringLiteral("Failure To File Minimum Table");
inline const QString estimatedTaxData = QStringLiteral("Estimated Tax Data");
inline const QString estimatedTaxPayments = QStringLiteral("Estimated Tax Payments");
inline const QString estimatedTaxLines = QStringLiteral("Estimated Tax Table"); // the last penalty run's worksheet
inline const QString refunds = QStringLiteral("Refund Table");
inline const QString largeCorporateOverpaymentRates = QStringLiteral("Large Corporate Overpayment Interest Table");
inline const QString irsFigures = QStringLiteral("IRS Figures Table"); // the IRS's own assessments, from a transcript
} // namespace Tables

namespace Columns {
inline const QString taxpayerNumber = QStringLiteral("Taxpayer Number");
inline const QString taxpayerName = QStringLiteral("Taxpayer Name");
inline const QString startDate = QStringLiteral("Start Date");
inline const QString endDate = QStringLiteral("End Date");
inline const QString originalDueDateOfReturn = QStringLiteral("Original Due Date Of Return");
inline const QString extendedDueDateOfReturn = QStringLiteral("Extended Due Date Of Return");
inline const QString dateReturnFiled = QStringLiteral("Date Return Filed");
inline const QString initialBalance = QStringLiteral("Initial Balance");
inline const QString calculateFailureToFilePenalty = QStringLiteral("Calculate Failure To File Penalty");
inline const QString calculateFailureToPayPenalty = QStringLiteral("Calculate Failure To Pay Penalty");
inline const QString assessmentDateForFailureToPayPenalty =
    QStringLiteral("Assessment Date For Failure To Pay Penalty");
inline const QString calculateIncreasedFailureToPayPenalty =
    QStringLiteral("Calculate Increased Failure To Pay Penalty");
inline const QString dateToBeginIncreasedFailureToPayPenalty =
    QStringLiteral("Date To Begin Increased Failure To Pay Penalty");
inline const QString calculateDecreasedFailureToPayPenalty =
    QStringLiteral("Calculate Decreased Failure To Pay Penalty");
inline const QString dateToBeginDecreasedFailureToPayPenalty =
    QStringLiteral("Date To Begin Decreased Failure To Pay Penalty");
inline const QString calculateAccuracyRelatedPenalty = QStringLiteral("Calculate Accuracy Related Penalty");
inline const QString accuracyRelatedUnderpayment = QStringLiteral("Accuracy Related Underpayment");
inline const QString payrollTaxSituation = QStringLiteral("Payroll Tax Situation");
inline const QString corporateTaxpayer = QStringLiteral("Corporate Taxpayer");
inline const QString row = QStringLiteral("Row");
inline const QString event = QStringLiteral("Event");
inline const QString dateOfPayment = QStringLiteral("Date Of Payment");
inline const QString amountOfPayment = QStringLiteral("Amount Of Payment");
inline const QString useIRSAllocation = QStringLiteral("Use IRS Allocation");
inline const QString paymentAllocatedToTax = QStringLiteral("Payment Allocated To Tax");
inline const QString paymentAllocatedToPenalties = QStringLiteral("Payment Allocated To Penalties");
inline const QString paymentAllocatedToInterest = QStringLiteral("Payment Allocated To Interest");
inline const QString allocatedToLiability = QStringLiteral("Allocated To Liability");
inline const QString dueDateOfLiability = QStringLiteral("Due Date Of Liability");
inline const QString depositDueDate = QStringLiteral("Deposit Due Date");
inline const QString assessmentDate = QStringLiteral("Assessment Date");
inline const QString requiredDeposit = QStringLiteral("Required Deposit");
inline const QString sec6656b1B = QStringLiteral("Sec 6656(b)(1)(B)");
inline const QString description = QStringLiteral("Description");
inline const QString dateLiabilityIncurred = QStringLiteral("Date Liability Incurred");
inline const QString dateInterestStarts = QStringLiteral("Date Interest Starts");
inline const QString totalAmountOfCharge = QStringLiteral("Total Amount of Charge");
inline const QString chargeClassifiedAsTax = QStringLiteral("Charge Classified As Tax");
inline const QString chargeClassifiedAsPenalty = QStringLiteral("Charge Classified As Penalty");
inline const QString chargeUnclassified = QStringLiteral("Charge Unclassified");
inline const QString beginningDate = QStringLiteral("Beginning Date");
inline const QString endingDate = QStringLiteral("Ending Date");
inline const QString interestRate = QStringLiteral("Interest Rate");
inline const QString date = QStringLiteral("Date");
inline const QString date2 = QStringLiteral("Date2");
inline const QString unpaidBalance = QStringLiteral("Unpaid Balance");
inline const QString accruedInterest = QStringLiteral("Accrued Interest");
inline const QString days = QStringLiteral("Days");
inline const QString interestFactor = QStringLiteral("Interest Factor");
inline const QString interest = QStringLiteral("Interest");
inline const QString failureToFilePenalty = QStringLiteral("Failure To File Penalty");
inline const QString failureToPayPenalty = QStringLiteral("Failure To Pay Penalty");
inline const QString tax = QStringLiteral("Tax");
inline const QString requiredDepositNumber = QStringLiteral("Required Deposit Number");
inline const QString daysOverdue = QStringLiteral("Days Overdue");
inline const QString penaltyPercentage = QStringLiteral("Penalty Percentage");
inline const QString penalty = QStringLiteral("Penalty");
inline const QString totalInterest = QStringLiteral("TotalInterest");
inline const QString summaryFailureToPayPenalty = QStringLiteral("FailureToPayPenalty");
inline const QString summaryFailureToFilePenalty = QStringLiteral("FailureToFilePenalty");
inline const QString totalAccPenalty = QStringLiteral("TotalAccPenalty");
inline const QString unpaidTax = QStringLiteral("UnpaidTax");
inline const QString pmntsAppToInterest = QStringLiteral("PmntsAppToInterest");
inline const QString pmntsAppToPenalty = QStringLiteral("PmntsAppToPenalty");
inline const QString otherPenalties = QStringLiteral("OtherPenalties");
inline const QString totalFDepositPenalty = QStringLiteral("TotalFDepositPenalty");
inline const QString total = QStringLiteral("Total");
inline const QString largeCorporateUnderpayment = QStringLiteral("Large Corporate Underpayment");
inline const QString dateLargeCorporateRateBegins = QStringLiteral("Date Large Corporate Rate Begins");
inline const QString firstYear = QStringLiteral("First Year");
inline const QString amount = QStringLiteral("Amount");
inline const QString taxYearEnd = QStringLiteral("Tax Year End");
inline const QString currentYearTax = QStringLiteral("Current Year Tax");
inline const QString priorYearTax = QStringLiteral("Prior Year Tax");
inline const QString priorYearFullYear = QStringLiteral("Prior Year Full Year");
inline const QString highIncomePriorYear = QStringLiteral("High Income Prior Year");
inline const QString largeCorporation = QStringLiteral("Large Corporation");
inline const QString withholding = QStringLiteral("Withholding");
inline const QString withholdingOnActualDates = QStringLiteral("Withholding On Actual Dates");
inline const QString line = QStringLiteral("Line");
inline const QString installment = QStringLiteral("Installment");
inline const QString dueDate = QStringLiteral("Due Date");
inline const QString daysInYear = QStringLiteral("Days In Year");
inline const QString clientCode = QStringLiteral("Client Code");
inline const QString dateOfRefund = QStringLiteral("Date Of Refund");
inline const QString interestToDate = QStringLiteral("Interest To Date");
inline const QString amountOfRefund = QStringLiteral("Amount Of Refund");
inline const QString transactionCode = QStringLiteral("Transaction Code");
} // namespace Columns
