#pragma once

#include "Money.h"
#include "PublishedFigures.h"

#include <QDate>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// What one taxpayer's runs need, as typed values: the taxpayer's dates, switches and amounts, its payments, charges,
// required deposits and estimated-tax figures in stored order, and the published figures the runs use. Amounts are
// those stored, made exact money (to the cent, half to even) once; an empty one is empty (std::nullopt), as in the
// store.
struct TaxpayerCase {
    int number = 0;
    QString name;
    QString clientCode; // the returns of one person or entity share it; empty for a return of no client
    QDate startDate;
    QDate endDate;
    QDate originalDueDate;
    QDate extendedDueDate;
    QDate dateReturnFiled;
    std::optional<Money> initialBalance;
    bool failureToFile = false;
    bool failureToPay = false;
    QDate failureToPayAssessment;
    bool increasedFailureToPay = false;
    QDate increasedFailureToPayBegins;
    bool decreasedFailureToPay = false;
    QDate decreasedFailureToPayBegins;
    bool accuracyRelated = false;
    std::optional<Money> accuracyUnderpayment;
    bool payroll = false;
    bool corporate = false;
    bool largeCorporateUnderpayment = false;
    QDate largeCorporateRateBegins; // the applicable date: the higher rate runs from the day after

    struct Payment {
        int row = 0;
        QString event;
        QDate date;
        std::optional<Money> amount;
        std::optional<Money> toTax;
        std::optional<Money> toPenalties;
        std::optional<Money> toInterest;
        QDate liabilityDueDate; // the required deposit it pays (payroll)
    };
    struct Charge {
        int row = 0;
        QString event;
        QDate interestStarts;
        std::optional<Money> asTax;
        std::optional<Money> asPenalty;
        std::optional<Money> unclassified;
        QDate incurred; // the day the liability arose (an assessment's day)
    };
    struct Deposit {
        int row = 0;
        QString event;
        QDate due;
        QDate assessed;
        std::optional<Money> required;
        bool sec6656b1B = false;
    };
    // A refund, or a credit out to another period: interest on the overpayment is allowed to `interestTo` and is
    // paid with it.
    struct Refund {
        int row = 0;
        QString event;
        QDate made;
        QDate interestTo;
        std::optional<Money> amount;
    };
    // A penalty or interest the IRS assessed (an account transcript's figure), kept to compare with the program's:
    // `event` is the kind ("Failure To File Penalty", "Interest" ...), `code` the IRS's transaction code.
    struct IrsFigure {
        int row = 0;
        QString code;
        QString event;
        QString description;
        QDate date;
        std::optional<Money> amount;
    };
    struct EstimatedTaxFigures {
        int row = 0;
        QDate yearEnd;
        std::optional<Money> currentYearTax;
        std::optional<Money> priorYearTax;
        bool priorFullYear = false;
        bool highIncome = false;
        bool largeCorporation = false;
        std::optional<Money> withholding;
        bool withholdingOnActualDates = false;
    };
    struct EstimatedPayment {
        QDate date;
        std::optional<Money> amount;
    };

    std::vector<Payment> payments;     // by date of payment (empty dates first), then by row
    std::vector<Charge> charges;       // by the date interest starts, then by row
    std::vector<Deposit> deposits;     // by due date, then by row
    std::vector<Refund> refunds;       // by the date interest is allowed to, then by row
    std::vector<IrsFigure> irsFigures; // by date, then by row
    // A tax year's figures for the estimated-tax penalty, with the estimated payments made for that year.
    struct EstimatedTaxYear {
        EstimatedTaxFigures figures;
        std::vector<EstimatedPayment> payments; // by date, then by row
    };
    std::vector<EstimatedTaxYear> estimatedYears; // by the tax year's end, one a year
    int estimatedPaymentsWithoutYear = 0;         // estimated payments of no year the case has figures for

    // The case with the estimated-tax figures of the year ending `yearEnd` alone (none when it has no such year).
    TaxpayerCase withEstimatedYear(const QDate& yearEnd) const {
        TaxpayerCase one = *this;
        one.estimatedYears.clear();
        if (const EstimatedTaxYear* y = estimatedYear(yearEnd); y && yearEnd.isValid())
            one.estimatedYears.push_back(*y);
        return one;
    }
    // The year ending `yearEnd`, or without a date the latest; null when the case has none.
    const EstimatedTaxYear* estimatedYear(const QDate& yearEnd = QDate()) const {
        if (estimatedYears.empty())
            return nullptr;
        if (!yearEnd.isValid())
            return &estimatedYears.back();
        for (const auto& y : estimatedYears)
            if (y.figures.yearEnd == yearEnd)
                return &y;
        return nullptr;
    }

    std::shared_ptr<const PublishedFigures> figures;
    // The reading the user has chosen for a corporation's overpayment above $10,000 partly refunded: the refund takes
    // the first $10,000 first (otherwise what remains keeps it).
    bool refundTakesFirstPart = false;

    // A stored amount beyond the largest the program takes (written by another program): every run of the case is an
    // overflow.
    bool beyondLargestAmount = false;
};
