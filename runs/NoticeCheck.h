#pragma once

#include "RecordSet.h"
#include "RunGuard.h"
#include "TaxpayerCase.h"

#include <map>
#include <optional>
#include <vector>

class RunReporter;

// What an IRS notice says, set beside the program's computation of the case to the date the notice's amounts are
// figured to: line by line, the notice's figure, the program's and the difference, and for the differences the
// causes the program can test, each with the figure it would give.
namespace NoticeCheck {

enum class Item { Tax, FailureToFile, FailureToPay, EstimatedTax, Deposit, Accuracy, Interest, Payments, AmountDue };
inline constexpr Item items[] = {Item::Tax,          Item::FailureToFile, Item::FailureToPay,
                                 Item::EstimatedTax, Item::Deposit,       Item::Accuracy,
                                 Item::Interest,     Item::Payments,      Item::AmountDue};
QString caption(Item item); // "Failure-to-pay penalty"
QString key(Item item);     // "failure_to_pay", as a notice file names it

struct Notice {
    QString kind; // CP14, CP501, CP503, CP504, CP2000 ...
    QDate date;
    QDate figuredTo;
    std::map<Item, Money> lines; // the payments and credits as a positive amount
};

// A notice's lines from a small CSV ("item,value"; kind, notice_date, figured_to, then an amount a line). Throws a
// StoreError naming `source` and the line for anything that does not read.
Notice readNotice(const QByteArray& csv, const QString& source);

struct Line {
    Item item;
    std::optional<Money> notice, program; // the program's is empty where it does not compute the line here
};

struct Cause {
    Item item;
    QString text; // what was tested, and what it gives
    Money figure; // the line's figure the cause gives
    bool matches; // it is the notice's figure
};

struct Result {
    int number = 0;
    QString name;
    Notice notice;
    std::vector<Line> lines;
    std::vector<Cause> causes;
};

// The case as it stood on `day`: computed to it, the failure-to-pay accrued by then assessed by then, the changes of
// the failure-to-pay rate and the charges that came later left out.
TaxpayerCase asOf(const TaxpayerCase& taxpayer, const QDate& day);

// The case computed to the notice's date, and the causes tested. Stops (through `reporter`) as the case's runs do.
RunOutcome check(const TaxpayerCase& taxpayer, const Notice& notice, RunReporter& reporter, Result* result);

// The report's rows: one a line ("Line", "Notice", "Program", "Difference").
RecordSet rows(const Result& result);
// The causes as the report's notes, one a cause; "No difference ..." when the notice agrees.
QStringList causeNotes(const Result& result);
// A CSV of the comparison and the causes, for --check-notice.
QString csv(const Result& result);

} // namespace NoticeCheck
