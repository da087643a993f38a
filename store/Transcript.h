#pragma once

#include "Money.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The text of an IRS account transcript as a practitioner saves or copies it: the aligned text of the viewer, the same
// as "Label: value" lines, HTML saved from the browser, or the text of a PDF (with its glyphs). Reading it checks
// every value as one typed would be: a date or amount that does not read is refused with the line it is on. Reading
// is one pass over the lines, so that a huge file ends in time.
namespace Transcript {

struct Transaction {
    QString code; // three digits
    QString explanation;
    QString cycle; // YYYYCCDD, or empty
    QDate date;
    Money amount; // a credit is below zero
};

// A line of the file; a line a PDF's text ran two rows into is two, of the same number.
struct Line {
    int number = 0; // 1 for the file's first line
    QString text;
    enum class Kind { Blank, Header, PageHeader, Transaction, Continuation, Other } kind = Kind::Other;
    std::optional<Transaction> transaction;
};

struct Account {
    QString formNumber; // "1040", "1120", "941" ...
    QDate taxPeriod;    // the period's last day
    int taxPeriodLine = 0;
    QString tin;         // as shown (masked)
    QDate receivedOrDue; // "RETURN DUE DATE OR RETURN RECEIVED DATE (WHICHEVER IS LATER)"
    QDate accruedAsOf;   // the date the accruals are figured to
    std::optional<Money> accountBalance, accruedInterest, accruedPenalty;
    std::vector<Line> lines;
};

// The text's lines, decoded (UTF-8, or Latin-1 where it is not), with HTML tags and entities turned into text and
// glyphs that are not text left out. Throws a StoreError naming `source` for a file that is empty or binary.
QStringList textLines(const QByteArray& bytes, const QString& source);

// The account a transcript's text gives. Throws a StoreError naming `source` and the line for a text that is not a
// transcript (no form number, tax period or transactions table), a date or amount that does not read, or a header
// value given twice with different values.
Account read(const QByteArray& bytes, const QString& source);

// "05-03-2021"; "Dec. 31, 2020", "May 03, 2021", "September 30, 2021". Invalid when it is not such a date.
QDate transactionDate(const QString& text);
QDate headerDate(const QString& text);
// "$24,118.00", "-$13,340.00", "$0.00", "1,064.25", "-5000": empty when it does not read as an amount.
std::optional<Money> amountOf(const QString& text);

} // namespace Transcript
