#pragma once

#include "ReportFormat.h"

#include <QStringList>

#include <functional>

#include <optional>
#include <vector>

struct TaxpayerCase;

// A report: where its rows come from and how they are laid out.
struct ReportDefinition {
    struct Column {
        QStringList caption; // one or two lines
        QString field;
        ReportFormat format;
        double width;         // relative width
        bool total = false;   // summed in the report footer
        bool csvOnly = false; // in the CSV export only, not on paper
    };

    QString name;          // DataReport6 ...
    QString windowCaption; // the preview's caption
    QString titleText;     // the middle line of the title, as stored
    QString query;         // the rows, in the program's SQL dialect
    std::optional<QString> groupField;
    QString groupCaption;
    std::vector<Column> columns;
    bool landscape = false;
    bool captionedBlock = false;  // the summary: one block of captioned values instead of a table
    double fontSize = 9;          // of the detail lines and totals; the captions are half a point smaller
    bool headingOnlyRows = false; // a row without any value shows its group heading alone
    // The three-line title, when the report's own differs from the taxpayer's name, title text and dates.
    std::function<QString(const TaxpayerCase&)> title;

    static const ReportDefinition& penaltyAndInterest();  // DataReport6
    static const ReportDefinition& failureToPayAndFile(); // DataReport1
    static const ReportDefinition& summary();             // DataReport4
    static const ReportDefinition& payments();            // DataReport3
    static const ReportDefinition& depositPenalty();      // DataReport5
    static const std::vector<const ReportDefinition*>& all();
    // Not one of the five: the summary of every taxpayer, one line each, built from the runs' results (no query).
    static const ReportDefinition& wholeBook();
    static const ReportDefinition& estimatedTax(); // the estimated-tax penalty worksheet
    // A client's netting: its overlaps and each return's interest with and without it (built from the run's result).
    static const ReportDefinition& netting();
    // An IRS notice beside the program's computation of the case to the notice's date (built from the check's result).
    static const ReportDefinition& noticeCheck();
    // The penalties a relief request asks to remove, with their interest and the first-time abatement checklist.
    static const ReportDefinition& penaltyRelief();
};
