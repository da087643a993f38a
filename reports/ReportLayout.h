#pragma once

#include "ReportContent.h"

#include <QSizeF>

#include <vector>

// The bands of a report placed on pages, computed apart from any painter so that pagination can be checked as data.
// All measures are in points (1/72 inch).
class ReportLayout {
public:
    struct Metrics {
        double titleLine = 17;
        double printDateLine = 14;
        double headerGap = 10;
        double captionLine = 11;
        double captionGap = 6;
        double detailLine = 13;
        double groupHeaderLine = 19;
        double footerLine = 26;
        double pageFooter = 18;
        double margin = 36;
    };

    struct Page {
        bool reportHeader = false; // the title and the print date (first page)
        int firstLine = 0;         // lines of the content on this page: [firstLine, endLine)
        int endLine = 0;
        bool reportFooter = false; // the totals (last page)
    };

    ReportLayout(const ReportContent& content, bool landscape);

    QSizeF pageSize() const; // Letter, portrait or landscape
    const Metrics& metrics() const { return m; }
    const std::vector<Page>& pages() const { return laidOut; }
    double reportHeaderHeight() const;
    double pageHeaderHeight() const;
    int captionLines() const;

private:
    const ReportContent& content;
    bool landscape;
    Metrics m;
    std::vector<Page> laidOut;
};
