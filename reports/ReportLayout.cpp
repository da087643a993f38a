#include "ReportLayout.h"

#include <algorithm>

ReportLayout::ReportLayout(const ReportContent& c, bool wide) : content(c), landscape(wide) {
    const double usable = pageSize().height() - 2 * m.margin - m.pageFooter;
    const bool block = content.definition->captionedBlock;
    const double lineHeight = m.detailLine;

    Page page;
    page.reportHeader = true;
    double y = reportHeaderHeight() + (block ? 0 : pageHeaderHeight());
    const int count = int(content.lines.size());
    int i = 0;
    while (i < count) {
        const auto& line = content.lines[size_t(i)];
        const bool header = line.groupHeader;
        double need = header ? m.groupHeaderLine : lineHeight;
        // A group header never ends a page without its first row.
        if (header && !line.note && i + 1 < count)
            need += lineHeight;
        // A row and the note on it stay on one page.
        if (!header && i + 1 < count && content.lines[size_t(i) + 1].note)
            need += m.groupHeaderLine;
        if (block)
            need = lineHeight * double(content.definition->columns.size() + 1);
        if (y + need > usable && page.endLine > page.firstLine) {
            laidOut.push_back(page);
            page = Page();
            page.firstLine = i;
            page.endLine = i;
            y = pageHeaderHeight();
        }
        y += header ? m.groupHeaderLine : (block ? need : lineHeight);
        page.endLine = ++i;
    }
    if (!block && y + m.footerLine > usable && page.endLine > page.firstLine) {
        // The totals never stand alone on a page: the last rows go with them.
        const int keep = std::min(3, page.endLine - page.firstLine - 1);
        page.endLine -= keep;
        while (page.endLine > page.firstLine + 1 && content.lines[size_t(page.endLine)].note)
            --page.endLine;
        laidOut.push_back(page);
        const int moved = page.endLine;
        page = Page();
        page.firstLine = moved;
        page.endLine = count;
    }
    page.reportFooter = true;
    laidOut.push_back(page);
}

QSizeF ReportLayout::pageSize() const {
    return landscape ? QSizeF(792, 612) : QSizeF(612, 792);
}

int ReportLayout::captionLines() const {
    // Room for two lines always: a long caption wraps rather than being cut.
    int lines = 2;
    for (const auto& c : content.definition->columns)
        lines = std::max(lines, int(c.caption.size()));
    return lines;
}

double ReportLayout::reportHeaderHeight() const {
    const int titleLines = int(content.title.count(QLatin1Char('\n'))) + 1;
    return titleLines * m.titleLine + m.printDateLine + m.headerGap;
}

double ReportLayout::pageHeaderHeight() const {
    return captionLines() * m.captionLine + m.captionGap;
}
