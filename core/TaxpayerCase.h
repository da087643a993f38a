#pragma once

#include "PublishedFigures.h"

#include <QDate>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// What one taxpayer's runs need, as typed values: the taxpayer's dates, switches and amounts, its payments, charges,
// required deposits and estimated-tax figures in stored order, and the published figures the runs use. Amounts are
// those stored; an empty one is empty (std::nullopt), as in the store.
struct TaxpayerCase {
    int number = 0;
    QString name;
    QDate startDate;
    QDate endDate;
    QDate originalDueDate;
    QDate extendedDueDate;
    QDate dateReturnFiled;
    std::optional<double> initialBalance;
    bool failureToFile = false;
    bool failureToPay = false;
    QDate failureToPayAssessment;
    bool increasedFailureToPay = false;
    QDate increasedFailureToPayBegins;
    bool decreasedFailureToPay = false;
    QDate decreasedFailureToPayBegins;
    bool accuracyRelated = false;
    std::optional<double> accuracyUnderpayment;
    bool payroll = false;
    bool corporate = false;
    bool largeCorporateUnderpayment = false;
    QDate largeCorporateRateBegins;

    struct Payment {
        int row = 0;
        QString event;
        QDate date;
        std::optional<double> amount;
        std::optional<double> toTax;
        std::optional<double> toPenalties;
        std::optional<double> toInterest;
        QDate liabilityDueDate; // the required deposit it pays (payroll)
    };
    struct Charge {
        int row = 0;
        QString event;
        QDate interestStarts;
        std::optional<double> asTax;
        std::optional<double> asPenalty;
        std::optional<double> unclassified;
    };
    struct Deposit {
        int row = 0;
        QString event;
        QDate due;
        QDate assessed;
        std::optional<double> required;
        bool sec6656b1B = false;
    };
    struct EstimatedTaxFigures {
        QDate yearEnd;
        std::optional<double> currentYearTax;
        std::optional<double> priorYearTax;
        bool priorFullYear = false;
        bool highIncome = false;
        bool largeCorporation = false;
        std::optional<double> withholding;
        bool withholdingOnActualDates = false;
    };
    struct EstimatedPayment {
        QDate date;
        std::optional<double> amount;
    };

    std::vector<Payment> payments; // by date of payment (empty dates first), then by row
    std::vector<Charge> charges;   // by the date interest starts, then by row
    std::vector<Deposit> deposits; // by due date, then by row
    std::optional<EstimatedTaxFigures> estimated;
    std::vector<EstimatedPayment> estimatedPayments; // by date, then by row

    std::shared_ptr<const PublishedFigures> figures;
};
