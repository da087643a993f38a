#include "ReportDefinition.h"

#include "EstimatedTax.h"
#include "Names.h"
#include "Statements.h"
#include "TaxpayerCase.h"

namespace {

using C = ReportDefinition::Column;
using F = ReportFormat;

ReportDefinition makeInterest() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport6");
    d.windowCaption = QStringLiteral("Penalty & Interest Report");
    d.titleText = QStringLiteral("Penalty & Interest Report for the return originally due ");
    d.query = Sql::reportInterestQuery();
    d.landscape = true;
    d.columns = {
        C{{"Beginning", "Date"}, Columns::date, F::Date, 1.0},
        C{{"Ending", "Date"}, Columns::date2, F::Date, 1.0},
        C{{"Event"}, Columns::event, F::Text, 2.0},
        C{{"Tax & Penalty", "Balance"}, Columns::unpaidBalance, F::Money, 1.25},
        C{{"Accrued", "Interest"}, Columns::accruedInterest, F::Money, 1.1},
        C{{"Interest", "Rate"}, Columns::interestRate, F::Percent, 0.8},
        C{{"Days"}, Columns::days, F::Count, 0.6},
        C{{"Interest", "Factor"}, Columns::interestFactor, F::Factor, 1.1},
        C{{"Interest"}, Columns::interest, F::Money, 1.1, true},
    };
    return d;
}

ReportDefinition makePenalty() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport1");
    d.windowCaption = QStringLiteral("Failure To Pay & File Penalty Calculation Report");
    d.titleText = QStringLiteral("Failure To Pay & File Penalty Calculation Report for the return originally due ");
    d.query = Sql::reportPenaltyQuery();
    d.columns = {
        C{{"Calculation Date"}, Columns::date, F::Date, 1.0},
        C{{"Event"}, Columns::event, F::Text, 1.9},
        C{{"Tax  Liability"}, Columns::tax, F::Money, 1.2},
        C{{"Failure To File Penalty"}, Columns::failureToFilePenalty, F::Money, 1.2, true},
        C{{"Failure To Pay Penalty"}, Columns::failureToPayPenalty, F::Money, 1.2, true},
    };
    return d;
}

ReportDefinition makeSummary() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport4");
    d.windowCaption = QStringLiteral("Summary Report");
    d.titleText = QStringLiteral("Summary Penalty & Interest Report for the return originally due ");
    d.query = Sql::reportSummaryQuery();
    d.captionedBlock = true;
    d.columns = {
        C{{"Interest"}, Columns::totalInterest, F::Money, 1},
        C{{"Failure To Pay Penalty"}, Columns::summaryFailureToPayPenalty, F::Money, 1},
        C{{"Failure To File Penalty"}, Columns::summaryFailureToFilePenalty, F::Money, 1},
        C{{"Accuracy Penalty"}, Columns::totalAccPenalty, F::Money, 1},
        C{{"Other Penalties"}, Columns::otherPenalties, F::Money, 1},
        C{{"Failure To Deposit Penalty"}, Columns::totalFDepositPenalty, F::Money, 1},
        C{{"Tax   (net of payments) "}, Columns::unpaidTax, F::Money, 1},
        C{{"Less Payments Applied To Interest"}, Columns::pmntsAppToInterest, F::Money, 1},
        C{{"Less Payments Applied To Penalties"}, Columns::pmntsAppToPenalty, F::Money, 1},
        C{{"Total"}, Columns::total, F::Money, 1},
    };
    return d;
}

ReportDefinition makePayments() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport3");
    d.windowCaption = QStringLiteral("Payment Report");
    d.titleText = QStringLiteral("Payment Report for the return originally due ");
    d.query = Sql::reportPaymentQuery();
    d.groupField = Columns::taxpayerName;
    d.groupCaption = QString();
    d.columns = {
        C{{"Date Of Payment:"}, Columns::dateOfPayment, F::Date, 1.0},
        C{{"Amount Of Payment"}, Columns::amountOfPayment, F::Money, 1.2, true},
        C{{"Payment Allocated To Tax"}, Columns::paymentAllocatedToTax, F::Money, 1.2, true},
        C{{"Payment Allocated To Penalties"}, Columns::paymentAllocatedToPenalties, F::Money, 1.2, true},
        C{{"Payment Allocated To Interest"}, Columns::paymentAllocatedToInterest, F::Money, 1.2, true},
    };
    return d;
}

ReportDefinition makeDeposit() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport5");
    d.windowCaption = QStringLiteral("Payroll Tax Penalty Report");
    d.titleText = QStringLiteral("Payroll Tax Deposit Penalty Report for the return originally due ");
    d.query = Sql::reportDepositQuery();
    d.groupField = Columns::requiredDepositNumber;
    d.groupCaption = QStringLiteral("Deposit Number");
    d.landscape = true;
    d.columns = {
        C{{"Date"}, Columns::date, F::Date, 1.0},
        C{{"Event"}, Columns::event, F::Text, 1.3},
        C{{"Amount Of Liability"}, Columns::requiredDeposit, F::Money, 1.2},
        C{{"Amount Of Payment"}, Columns::amountOfPayment, F::Money, 1.2},
        C{{"Unpaid Balance"}, Columns::unpaidBalance, F::Money, 1.2},
        C{{"Days Overdue"}, Columns::daysOverdue, F::Count, 0.8},
        C{{"Penalty Percentage"}, Columns::penaltyPercentage, F::Percent, 0.9},
        C{{"Penalty"}, Columns::penalty, F::Money, 1.1, true},
    };
    return d;
}

ReportDefinition makeWholeBook() {
    ReportDefinition d;
    d.name = QStringLiteral("SummaryOfAllTaxpayers");
    d.windowCaption = QStringLiteral("Summary Of All Taxpayers");
    d.titleText = QStringLiteral("Summary Of All Taxpayers");
    d.landscape = true;
    // Fifteen columns across a landscape page: a smaller type keeps a firm's totals whole.
    d.fontSize = 7;
    d.columns = {
        C{{"Taxpayer", "Number"}, Columns::taxpayerNumber, F::Text, 1.1},
        C{{"Taxpayer Name"}, Columns::taxpayerName, F::Text, 2.8},
        C{{"End Date"}, Columns::endDate, F::Date, 1.25},
        C{{"Interest"}, Columns::totalInterest, F::Money, 1.2, true},
        C{{"Failure To", "Pay"}, Columns::summaryFailureToPayPenalty, F::Money, 1.2, true},
        C{{"Failure To", "File"}, Columns::summaryFailureToFilePenalty, F::Money, 1.2, true},
        C{{"Accuracy", "Penalty"}, Columns::totalAccPenalty, F::Money, 1.2, true},
        C{{"Tax (net of", "payments)"}, Columns::unpaidTax, F::Money, 1.3, true},
        C{{"Paid To", "Interest"}, Columns::pmntsAppToInterest, F::Money, 1.2, true},
        C{{"Paid To", "Penalties"}, Columns::pmntsAppToPenalty, F::Money, 1.2, true},
        C{{"Other", "Penalties"}, Columns::otherPenalties, F::Money, 1.2, true},
        C{{"Failure To", "Deposit"}, Columns::totalFDepositPenalty, F::Money, 1.2, true},
        C{{"Total"}, Columns::total, F::Money, 1.4, true},
        // The estimated-tax penalty is the year's own addition to tax, apart from the return's balance.
        C{{"Estimated", "Tax Penalty"}, QStringLiteral("Estimated Tax Penalty"), F::Money, 1.45, true},
        C{{"Message"}, QStringLiteral("Message"), F::Text, 1.65, false, true},
    };
    return d;
}

ReportDefinition makeNetting() {
    ReportDefinition d;
    d.name = QStringLiteral("Netting");
    d.windowCaption = QStringLiteral("Netting");
    d.titleText = QStringLiteral("Interest Netting, Net Rate of Zero (IRC 6621(d))");
    d.landscape = true;
    d.fontSize = 7;
    d.groupField = QStringLiteral("Section");
    d.columns = {
        C{{"Underpayment", "Return"}, QStringLiteral("Underpayment"), F::Text, 1.7},
        C{{"Overpayment", "Return"}, QStringLiteral("Overpayment"), F::Text, 1.7},
        C{{"From"}, QStringLiteral("From"), F::Date, 1.2},
        C{{"To"}, QStringLiteral("To"), F::Date, 1.2},
        C{{"Days"}, QStringLiteral("Days"), F::Count, 0.65},
        C{{"Equal", "Amount"}, QStringLiteral("Amount"), F::Money, 1.3},
        C{{"Rate", "Charged"}, QStringLiteral("Underpayment Rate"), F::Text, 1.3},
        C{{"Rate", "Credited"}, QStringLiteral("Overpayment Rate"), F::Text, 1.3},
        C{{"Method"}, QStringLiteral("Method"), F::Text, 1.75},
        C{{"Interest As", "It Stood"}, QStringLiteral("As It Stood"), F::Money, 1.45},
        C{{"Interest", "Netted"}, QStringLiteral("At Net Rate"), F::Money, 1.2},
        C{{"Without", "Netting"}, QStringLiteral("Without Netting"), F::Money, 1.3, true},
        C{{"With", "Netting"}, QStringLiteral("With Netting"), F::Money, 1.3, true},
        C{{"Benefit"}, QStringLiteral("Benefit"), F::Money, 1.3, true},
    };
    return d;
}

ReportDefinition makeNoticeCheck() {
    ReportDefinition d;
    d.name = QStringLiteral("NoticeCheck");
    d.windowCaption = QStringLiteral("Notice Check");
    d.titleText = QStringLiteral("Notice Check");
    d.columns = {
        C{{"Line"}, QStringLiteral("Line"), F::Text, 2.1},
        C{{"Notice"}, QStringLiteral("Notice"), F::Money, 1.2},
        C{{"Program"}, QStringLiteral("Program"), F::Money, 1.2},
        C{{"Difference"}, QStringLiteral("Difference"), F::Money, 1.2},
    };
    return d;
}

ReportDefinition makePenaltyRelief() {
    ReportDefinition d;
    d.name = QStringLiteral("PenaltyRelief");
    d.windowCaption = QStringLiteral("Penalty Relief");
    d.titleText = QStringLiteral("Penalty Relief");
    d.columns = {
        C{{"Penalty"}, QStringLiteral("Penalty"), F::Text, 1.8},
        C{{"Interest", "Begins"}, QStringLiteral("Begins"), F::Date, 1.2},
        C{{"Penalty"}, QStringLiteral("Amount"), F::Money, 1.3, true},
        C{{"Interest", "On It"}, QStringLiteral("Interest On It"), F::Money, 1.3, true},
        C{{"Relief"}, QStringLiteral("Relief"), F::Money, 1.3, true},
        C{{"IRS", "Assessed"}, QStringLiteral("IRS Assessed"), F::Money, 1.3},
    };
    return d;
}

ReportDefinition makeEstimatedTax() {
    ReportDefinition d;
    d.name = QStringLiteral("EstimatedTaxPenalty");
    d.windowCaption = QStringLiteral("Estimated Tax Penalty");
    d.titleText = QStringLiteral("Estimated Tax Penalty for the tax year ending ");
    d.query = Sql::reportEstimatedTaxQuery();
    d.groupField = Columns::installment;
    d.headingOnlyRows = true;
    d.columns = {
        C{{"Due Date"}, Columns::dueDate, F::Date, 1.0, false, true},
        C{{"Amount"}, Columns::amount, F::Money, 1.2},
        C{{"From"}, Columns::beginningDate, F::Date, 1.0},
        C{{"To"}, Columns::endingDate, F::Date, 1.0},
        C{{"Days"}, Columns::days, F::Count, 0.6},
        C{{"Rate"}, Columns::interestRate, F::Percent, 0.7},
        C{{"Penalty"}, Columns::penalty, F::Money, 1.1, true},
    };
    d.title = [text = d.titleText](const TaxpayerCase& tp) {
        const auto* year = tp.estimatedYear();
        const QDate yearEnd = year ? year->figures.yearEnd : QDate();
        const bool corporation = tp.corporate;
        QString third;
        if (yearEnd.isValid())
            third = QStringLiteral("Penalty figured to ") +
                    formatReportValue(F::Date, EstimatedTax::penaltyEnds(corporation, yearEnd)) +
                    (corporation ? QStringLiteral(", rules of Form 2220") : QStringLiteral(", rules of Form 2210"));
        return tp.name + QLatin1Char('\n') + text + formatReportValue(F::Date, yearEnd) + QLatin1Char('\n') + third;
    };
    return d;
}

} // namespace

const ReportDefinition& ReportDefinition::estimatedTax() {
    static const ReportDefinition d = makeEstimatedTax();
    return d;
}

const ReportDefinition& ReportDefinition::wholeBook() {
    static const ReportDefinition d = makeWholeBook();
    return d;
}

const ReportDefinition& ReportDefinition::netting() {
    static const ReportDefinition d = makeNetting();
    return d;
}

const ReportDefinition& ReportDefinition::noticeCheck() {
    static const ReportDefinition d = makeNoticeCheck();
    return d;
}

const ReportDefinition& ReportDefinition::penaltyRelief() {
    static const ReportDefinition d = makePenaltyRelief();
    return d;
}

const ReportDefinition& ReportDefinition::penaltyAndInterest() {
    static const ReportDefinition d = makeInterest();
    return d;
}
const ReportDefinition& ReportDefinition::failureToPayAndFile() {
    static const ReportDefinition d = makePenalty();
    return d;
}
const ReportDefinition& ReportDefinition::summary() {
    static const ReportDefinition d = makeSummary();
    return d;
}
const ReportDefinition& ReportDefinition::payments() {
    static const ReportDefinition d = makePayments();
    return d;
}
const ReportDefinition& ReportDefinition::depositPenalty() {
    static const ReportDefinition d = makeDeposit();
    return d;
}

const std::vector<const ReportDefinition*>& ReportDefinition::all() {
    static const std::vector<const ReportDefinition*> list = {
        &penaltyAndInterest(), &failureToPayAndFile(), &summary(), &payments(), &depositPenalty(), &estimatedTax()};
    return list;
}
