#pragma once

#include "Netting.h"
#include "RunGuard.h"
#include "TaxpayerCase.h"

#include <vector>

class RunReporter;
class RecordSet;

// The netting of a client's returns: each return's interest run as it stands, the overlaps of its underpayments and
// overpayments with those of the client's other returns, and each return's interest again with the net rate of zero
// on the equal amount of every overlap. In memory; writes nothing.
class NettingRun {
public:
    explicit NettingRun(RunReporter& reporter);

    struct ReturnFigures {
        int number = 0;
        QString name;
        Money without; // its interest as it stands (overpayment interest below zero)
        Money with;    // with the netting
    };
    struct OverlapFigures {
        Netting::Overlap overlap;
        QString underRates; // the rates of the underpayment on the days, "8.00%" or "7.00% to 8.00%"
        QString overRates;
        Money atNetRate; // the equal amount's interest on the days at the rate the method gives it
        Money asItStood; // the same at the adjusted side's own rate
    };
    struct Result {
        QString clientCode;
        std::vector<ReturnFigures> returns;
        std::vector<OverlapFigures> overlaps;
        Money benefit; // the interest saved: the total without the netting less that with it
    };

    // `cases` are the client's returns in taxpayer-number order; `choice` the user's method for a pair, if any.
    RunOutcome run(const QString& clientCode, const std::vector<TaxpayerCase>& cases, Result* result,
                   const std::function<std::optional<Netting::Method>(int under, int over)>& choice = {});

    // The report's rows: the overlaps, then each return's interest and the benefit.
    static RecordSet rows(const Result& result);
    // The text of a request for the net rate of zero (Form 843, Rev. Proc. 2000-26): the periods and amounts.
    static QString claimText(const Result& result, const std::vector<TaxpayerCase>& cases);

private:
    RunReporter& reporter;
};
