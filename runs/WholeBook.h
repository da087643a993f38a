#pragma once

#include "RecordSet.h"
#include "SummaryTotals.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class Database;

// A firm's whole book: the summary of every taxpayer of the database, in taxpayer-number order, each calculated as
// the summary run calculates it, none written to [Summary Table] (which keeps what the last single run left). A
// taxpayer whose run stops keeps the message that stopped it and does not stop the others; one whose run ends keeps
// its warnings.
class WholeBook {
public:
    struct Line {
        int number = 0;
        QString name;
        QDate endDate;
        std::optional<SummaryTotals> totals; // empty when the run stopped
        // The estimated-tax penalty of the case's tax years, in cents; empty for a case without estimated-tax
        // figures or when a year's run stopped.
        std::optional<qint64> estimatedTaxPenalty;
        QString message; // the message that stopped the run, or the warnings of a run that ended
    };

    // `progress` hears of each taxpayer done (done, of all).
    static std::vector<Line> summaries(Database& db, const std::function<void(int done, int all)>& progress = {});

    // As talvoro-run writes it: a header, then a line a taxpayer (number, name, End Date MM/DD/YYYY, the ten totals
    // in the order [Summary Table] holds them as plain decimals with two places, the estimated-tax penalty, and the
    // message).
    static QString csv(const std::vector<Line>& lines);
    // As the report preview shows it: one row a taxpayer, named as the columns of the summary report.
    static RecordSet rows(const std::vector<Line>& lines);
};
