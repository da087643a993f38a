#pragma once

#include "ReportContent.h"

#include <QFont>
#include <QSizeF>
#include <QStringList>

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

    // A line of the title, in the size that fits it.
    struct TitleLine {
        QString text;
        double size = 13;
    };

    ReportLayout(const ReportContent& content, bool landscape);

    // The report's type: DejaVu Sans at `size` points (the painter draws in points).
    static QFont font(double size, bool bold = false, bool italic = false);
    // `text` in lines of at most `width` in `f`, broken between words; a word longer than a line is broken where it
    // must be. Never cuts a character off.
    static QStringList wrap(const QString& text, const QFont& f, double width);
    static constexpr double cellPad = 3;

    // The left edge of every column and the right edge of the last, across the printed width.
    std::vector<double> columnEdges() const;
    // A detail row's texts, each in the lines it takes in its column (figures and dates in one line each).
    std::vector<QStringList> cellLines(int line) const;
    // A note's text in the lines it takes beside its indent.
    QStringList noteLines(int line) const;
    double noteIndent() const;
    // How tall line `line` of the content is on paper.
    double lineHeight(int line) const;
    const std::vector<TitleLine>& title() const { return titleLines; }

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
    std::vector<double> heights; // lineHeight of each line of the content
    std::vector<TitleLine> titleLines;
    double printedWidth() const;
    double measure(int line) const;
};
