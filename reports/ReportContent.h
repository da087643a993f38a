#pragma once

#include "RecordSet.h"
#include "ReportDefinition.h"

#include <QDate>

// A report's printed content: its title, its lines (group headers and detail rows, formatted) and its totals. What
// the preview, the printer, the PDF file and the CSV file all show.
struct ReportContent {
    struct Line {
        bool groupHeader = false;
        bool note = false; // a header line that remarks on the row above it, in the detail type
        QString header;    // a group header's text
        QStringList cells; // a detail row's formatted values, one per column
    };

    const ReportDefinition* definition = nullptr;
    QString title;   // the report header's %i: three lines
    QDate printDate; // %d
    std::vector<Line> lines;
    QStringList totals; // one per column: the formatted total, or empty where the column has none

    // Detail rows in query order, grouped under one header for each distinct value of the group column (in order
    // of first appearance). A total is the sum of the column's printed values, so the column adds up on paper.
    static ReportContent build(const ReportDefinition& definition, const RecordSet& rows, const QString& title,
                               const QDate& printDate);
    int detailCount() const;
};

// The three-line title: taxpayer name; the report's title text with the original due date; "Report calculated to "
// with the end date.
QString reportTitle(const ReportDefinition& definition, const QString& taxpayerName, const QDate& originalDueDate,
                    const QDate& endDate);
