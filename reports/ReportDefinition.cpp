#include "ReportDefinition.h"

#include "Statements.h"

namespace {

using C = ReportDefinition::Column;
using F = ReportFormat;

ReportDefinition makeInterest() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport6");
    d.timer = QStringLiteral("Timer7");
    d.windowCaption = QStringLiteral("Penalty & Interest Report");
    d.titleText = QStringLiteral("Penalty & Interest Report for the return originally due ");
    d.query = Sql::reportInterestQuery();
    d.landscape = true;
    d.columns = {
        C{{"Beginning", "Date"}, "Date", F::Date, 1.0},
        C{{"Ending", "Date"}, "Date2", F::Date, 1.0},
        C{{"Event"}, "Event", F::Text, 2.0},
        C{{"Tax & Penalty", "Balance"}, "Unpaid Balance", F::Money, 1.25},
        C{{"Accrued", "Interest"}, "Accrued Interest", F::Money, 1.1},
        C{{"Interest", "Rate"}, "Interest Rate", F::Percent, 0.8},
        C{{"Days"}, "Days", F::Count, 0.6},
        C{{"Interest", "Factor"}, "Interest Factor", F::Factor, 1.1},
        C{{"Interest"}, "Interest", F::Money, 1.1, true},
    };
    return d;
}

ReportDefinition makePenalty() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport1");
    d.timer = QStringLiteral("Timer1");
    d.windowCaption = QStringLiteral("Failure To Pay & File Penalty Calculation Report");
    d.titleText = QStringLiteral("Failure To Pay & File Penalty Calculation Report for the return originally due ");
    d.query = Sql::reportPenaltyQuery();
    d.columns = {
        C{{"Calculation Date"}, "Date", F::Date, 1.0},
        C{{"Event"}, "Event", F::Text, 1.9},
        C{{"Tax  Liability"}, "Tax", F::Money, 1.2},
        C{{"Failure To File Penalty"}, "Failure To File Penalty", F::Money, 1.2, true},
        C{{"Failure To Pay Penalty"}, "Failure To Pay Penalty", F::Money, 1.2, true},
    };
    return d;
}

ReportDefinition makeSummary() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport4");
    d.timer = QStringLiteral("Timer5");
    d.windowCaption = QStringLiteral("Summary Report");
    d.titleText = QStringLiteral("Summary Penalty & Interest Report for the return originally due ");
    d.query = Sql::reportSummaryQuery();
    d.captionedBlock = true;
    d.columns = {
        C{{"Interest"}, "TotalInterest", F::Money, 1},
        C{{"Failure To Pay Penalty"}, "FailureToPayPenalty", F::Money, 1},
        C{{"Failure To File Penalty"}, "FailureToFilePenalty", F::Money, 1},
        C{{"Accuracy Penalty"}, "TotalAccPenalty", F::Money, 1},
        C{{"Other Penalties"}, "OtherPenalties", F::Money, 1},
        C{{"Failure To Deposit Penalty"}, "TotalFDepositPenalty", F::Money, 1},
        C{{"Tax   (net of payments) "}, "UnpaidTax", F::Money, 1},
        C{{"Less Payments Applied To Interest"}, "PmntsAppToInterest", F::Money, 1},
        C{{"Less Payments Applied To Penalties"}, "PmntsAppToPenalty", F::Money, 1},
        C{{"Total"}, "Total", F::Money, 1},
    };
    return d;
}

ReportDefinition makePayments() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport3");
    d.timer = QStringLiteral("Timer4");
    d.windowCaption = QStringLiteral("Payment Report");
    d.titleText = QStringLiteral("Payment Report for the return originally due ");
    d.query = Sql::reportPaymentQuery();
    d.groupField = QStringLiteral("Taxpayer Name");
    d.groupCaption = QString();
    d.columns = {
        C{{"Date Of Payment:"}, "Date Of Payment", F::Date, 1.0},
        C{{"Amount Of Payment"}, "Amount Of Payment", F::Money, 1.2, true},
        C{{"Payment Allocated To Tax"}, "Payment Allocated To Tax", F::Money, 1.2, true},
        C{{"Payment Allocated To Penalties"}, "Payment Allocated To Penalties", F::Money, 1.2, true},
        C{{"Payment Allocated To Interest"}, "Payment Allocated To Interest", F::Money, 1.2, true},
    };
    return d;
}

ReportDefinition makeDeposit() {
    ReportDefinition d;
    d.name = QStringLiteral("DataReport5");
    d.timer = QStringLiteral("Timer6");
    d.windowCaption = QStringLiteral("Payroll Tax Penalty Report");
    d.titleText = QStringLiteral("Payroll Tax Deposit Penalty Report for the return originally due ");
    d.query = Sql::reportDepositQuery();
    d.groupField = QStringLiteral("Required Deposit Number");
    d.groupCaption = QStringLiteral("Deposit Number");
    d.landscape = true;
    d.columns = {
        C{{"Date"}, "Date", F::Date, 1.0},
        C{{"Event"}, "Event", F::Text, 1.3},
        C{{"Amount Of Liability"}, "Required Deposit", F::Money, 1.2},
        C{{"Amount Of Payment"}, "Amount Of Payment", F::Money, 1.2},
        C{{"Unpaid Balance"}, "Unpaid Balance", F::Money, 1.2},
        C{{"Days Overdue"}, "Days Overdue", F::Count, 0.8},
        C{{"Penalty Percentage"}, "Penalty Percentage", F::Percent, 0.9},
        C{{"Penalty"}, "Penalty", F::Money, 1.1, true},
    };
    return d;
}

} // namespace

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
    static const std::vector<const ReportDefinition*> list = {&penaltyAndInterest(), &failureToPayAndFile(), &summary(),
                                                              &payments(), &depositPenalty()};
    return list;
}

const ReportDefinition* ReportDefinition::byTimer(const QString& timer) {
    for (const auto* d : all())
        if (d->timer == timer)
            return d;
    return nullptr;
}

const ReportDefinition* ReportDefinition::byKey(const QString& key) {
    if (key == QLatin1String("interest"))
        return &penaltyAndInterest();
    if (key == QLatin1String("penalty"))
        return &failureToPayAndFile();
    if (key == QLatin1String("summary"))
        return &summary();
    if (key == QLatin1String("payment"))
        return &payments();
    if (key == QLatin1String("deposit"))
        return &depositPenalty();
    return nullptr;
}
