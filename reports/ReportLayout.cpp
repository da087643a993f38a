#include "ReportLayout.h"

#include <QFontMetricsF>

#include <algorithm>
#include <numeric>

namespace {
constexpr double smallestTitle = 9;
} // namespace

QFont ReportLayout::font(double size, bool bold, bool italic) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(int(size + 0.5));
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QStringList ReportLayout::wrap(const QString& text, const QFont& f, double width) {
    const QFontMetricsF metrics(f);
    QStringList lines;
    QString current;
    auto fits = [&metrics, width](const QString& t) { return metrics.horizontalAdvance(t) <= width; };
    // Most texts fit their column whole.
    if (fits(text))
        return {text};
    for (QString word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (fits(joined)) {
            current = joined;
            continue;
        }
        if (!current.isEmpty())
            lines << current;
        current.clear();
        // A word wider than the column goes on in the next line where it reaches the edge.
        while (!fits(word) && word.size() > 1) {
            // By whole characters: a character outside the Basic Multilingual Plane is two UTF-16 units.
            auto step = [&word](int at) { return at < word.size() && word[at].isHighSurrogate() ? 2 : 1; };
            int take = step(0);
            while (take < word.size() && fits(word.left(take + step(take))))
                take += step(take);
            lines << word.left(take);
            word = word.mid(take);
        }
        current = word;
    }
    if (!current.isEmpty() || lines.isEmpty())
        lines << current;
    return lines;
}

double ReportLayout::printedWidth() const {
    return pageSize().width() - 2 * m.margin;
}

std::vector<double> ReportLayout::columnEdges() const {
    const auto& columns = content.definition->columns;
    // A column of the CSV export alone takes no room on paper.
    auto share = [](const ReportDefinition::Column& c) { return c.csvOnly ? 0.0 : c.width; };
    const double sum = std::accumulate(columns.begin(), columns.end(), 0.0,
                                       [&share](double s, const ReportDefinition::Column& c) { return s + share(c); });
    std::vector<double> edges{m.margin};
    for (const auto& c : columns)
        edges.push_back(edges.back() + printedWidth() * share(c) / sum);
    return edges;
}

std::vector<QStringList> ReportLayout::cellLines(int index) const {
    const auto& columns = content.definition->columns;
    const auto& line = content.lines[size_t(index)];
    const auto edges = columnEdges();
    const QFont f = font(content.definition->fontSize);
    std::vector<QStringList> cells;
    for (size_t c = 0; c < columns.size(); ++c) {
        const QString text = line.cells.value(int(c));
        if (columns[c].format == ReportFormat::Text && !columns[c].csvOnly)
            cells.push_back(wrap(text, f, edges[c + 1] - edges[c] - 2 * cellPad));
        else
            cells.push_back(QStringList{text});
    }
    return cells;
}

double ReportLayout::noteIndent() const {
    const auto edges = columnEdges();
    return edges.size() > 1 ? edges[1] - edges[0] : 0;
}

QStringList ReportLayout::noteLines(int index) const {
    return wrap(content.lines[size_t(index)].header, font(content.definition->fontSize, false, true),
                printedWidth() - 2 * cellPad - noteIndent());
}

double ReportLayout::measure(int index) const {
    const auto& line = content.lines[size_t(index)];
    if (line.groupHeader) {
        if (!line.note)
            return m.groupHeaderLine;
        // A note of several lines keeps the space a one-line note has around it.
        return m.groupHeaderLine + double(noteLines(index).size() - 1) * m.detailLine;
    }
    if (content.definition->captionedBlock)
        return m.detailLine;
    qsizetype rows = 1;
    for (const auto& cell : cellLines(index))
        rows = std::max(rows, cell.size());
    return double(rows) * m.detailLine;
}

double ReportLayout::lineHeight(int index) const {
    return heights[size_t(index)];
}

ReportLayout::ReportLayout(const ReportContent& c, bool wide) : content(c), landscape(wide) {
    // Each title line in the largest type down to a legible one that holds it; below that it wraps.
    for (const QString& text : content.title.split(QLatin1Char('\n'))) {
        double size = 13;
        while (size > smallestTitle && QFontMetricsF(font(size, true)).horizontalAdvance(text) > printedWidth())
            size -= 0.5;
        for (const QString& part : wrap(text, font(size, true), printedWidth()))
            titleLines.push_back({part, size});
    }
    const int count = int(content.lines.size());
    heights.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        heights.push_back(measure(i));

    const double usable = pageSize().height() - 2 * m.margin - m.pageFooter;
    const bool block = content.definition->captionedBlock;

    Page page;
    page.reportHeader = true;
    double y = reportHeaderHeight() + (block ? 0 : pageHeaderHeight());
    int i = 0;
    while (i < count) {
        const auto& line = content.lines[size_t(i)];
        const bool header = line.groupHeader;
        const double own = heights[size_t(i)];
        double need = own;
        // A group header never ends a page without its first row.
        if (header && !line.note && i + 1 < count)
            need += heights[size_t(i) + 1];
        // A row and the note on it stay on one page.
        if (!header && i + 1 < count && content.lines[size_t(i) + 1].note)
            need += heights[size_t(i) + 1];
        if (block)
            need = m.detailLine * double(content.definition->columns.size() + 1);
        if (y + need > usable && page.endLine > page.firstLine) {
            laidOut.push_back(page);
            page = Page();
            page.firstLine = i;
            page.endLine = i;
            y = pageHeaderHeight();
        }
        y += block ? need : own;
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
    return double(titleLines.size()) * m.titleLine + m.printDateLine + m.headerGap;
}

double ReportLayout::pageHeaderHeight() const {
    return captionLines() * m.captionLine + m.captionGap;
}
