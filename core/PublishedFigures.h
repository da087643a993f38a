#pragma once

#include "Money.h"
#include "Rate.h"

#include <QDate>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// A period of a rate table: from its first to its last day, the annual rate as a decimal fraction (empty when the row
// holds none).
struct RatePeriod {
    QDate beginning;
    QDate ending;
    std::optional<Rate> rate;
};

// A legal holiday by rule: a fixed day of a month (moved to the Friday before or the Monday after when it falls on a
// weekend), or a weekday of a week of the month, for the years the rule holds.
struct Holiday {
    QString name;
    int month = 0;
    int day = 0;       // a fixed day of the month, or 0 when the holiday is a weekday of a week
    int weekday = 0;   // 1 Monday .. 7 Sunday
    int week = 0;      // 1 .. 4, or -1 for the last
    int firstYear = 0; // the years the rule holds
    int lastYear = 9999;
};

// The amounts of the estimated-tax law for tax years from `firstTaxYear` on.
struct EstimatedTaxRules {
    int firstTaxYear = 0;
    qint64 individualMinimum = 0; // cents
    qint64 corporateMinimum = 0;  // cents
    int highIncomePercent = 0;
};

// The interest law's figures that are not rates: the threshold above which a corporation's overpayment earns the
// lower rate, and from when; and the first day the net rate of zero can apply.
struct InterestLaw {
    Money largeCorporateOverpaymentThreshold;
    QDate largeCorporateOverpaymentAfter; // periods after this day
    QDate netRateFrom;
};

// The published figures the runs use, read once and shared by every case a run or a whole book takes: the three
// rate tables in stored order, the failure-to-file minimums by year, and, from the data files installed with the
// program, the legal holidays and the estimated-tax amounts. Those two are read only where they can be; a case that
// needs them and finds them missing stops with `dataFilesProblem`.
struct PublishedFigures {
    std::vector<RatePeriod> underpayment;
    std::vector<RatePeriod> overpayment;
    std::vector<RatePeriod> largeCorporate;
    std::vector<RatePeriod> largeCorporateOverpayment;        // on a corporation's overpayment above $10,000
    std::vector<std::pair<int, Money>> failureToFileMinimums; // (first year, amount), rising by year
    std::optional<std::vector<Holiday>> holidays;
    std::optional<std::vector<EstimatedTaxRules>> estimatedTaxRules;
    std::optional<InterestLaw> interestLaw;
    QString dataFilesProblem;   // why the holidays or the estimated-tax amounts could not be read
    QString interestLawProblem; // why the interest law's figures could not be read
};
