#include "ReportPainter.h"
#include "CsvText.h"

#include "WholeFile.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

bool rightAligned(ReportFormat f) {
    return f != ReportFormat::Text && f != ReportFormat::Date;
}

QFont font(double size, bool bold = false) {
    return ReportLayout::font(size, bold);
}

constexpr double cellPad = ReportLayout::cellPad;

// A caption in at most `maxLines` lines of `width`, broken between words.
QStringList wrapped(const QStringList& caption, const QFontMetricsF& metrics, double width, int maxLines) {
    if (caption.size() > 1)
        return caption;
    QStringList lines;
    QString current;
    for (const QString& word : caption.value(0).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (!current.isEmpty() && metrics.horizontalAdvance(joined) > width && lines.size() + 1 < maxLines) {
            lines << current;
            current = word;
        } else {
            current = joined;
        }
    }
    lines << current;
    return lines;
}

// The largest font up to `size` in which every line fits `width`.
QFont fitting(const QStringList& lines, double size, double width, bool bold) {
    for (double s = size; s > 6; s -= 0.5) {
        const QFont f = font(s, bold);
        const QFontMetricsF metrics(f);
        bool fits = true;
        for (const auto& line : lines)
            fits = fits && metrics.horizontalAdvance(line) <= width;
        if (fits)
            return f;
    }
    return font(6, bold);
}

} // namespace

ReportPainter::ReportPainter(const ReportContent& c) : content(c), pages(c, c.definition->landscape) {}

bool ReportPainter::landscape() const {
    return content.definition->landscape;
}

void ReportPainter::drawPage(QPainter& p, int index) const {
    const auto& m = pages.metrics();
    const auto& page = pages.pages()[size_t(index)];
    const QSizeF paper = pages.pageSize();
    const double left = m.margin;
    const double width = paper.width() - 2 * m.margin;
    const auto& columns = content.definition->columns;
    const auto edges = pages.columnEdges();
    const bool block = content.definition->captionedBlock;
    double y = m.margin;

    auto cell = [&](int column, const QString& text, double top, double height) {
        if (columns[size_t(column)].csvOnly)
            return;
        const QRectF r(edges[size_t(column)] + cellPad, top,
                       edges[size_t(column) + 1] - edges[size_t(column)] - 2 * cellPad, height);
        const QString shown = QFontMetricsF(p.font()).elidedText(text, Qt::ElideRight, r.width());
        p.drawText(r, (rightAligned(columns[size_t(column)].format) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom,
                   shown);
    };

    if (page.reportHeader) {
        for (const auto& line : pages.title()) {
            p.setFont(font(line.size, true));
            p.drawText(QRectF(left, y, width, m.titleLine), Qt::AlignHCenter | Qt::AlignBottom, line.text);
            y += m.titleLine;
        }
        p.setFont(font(9));
        p.drawText(QRectF(left, y, width, m.printDateLine), Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("Report print date ") + content.printDate.toString(QStringLiteral("MM/dd/yyyy")));
        y += m.printDateLine + m.headerGap;
    }

    if (block) {
        // The summary: one block of captioned values, the total under a rule.
        p.setFont(font(10));
        const double captionRight = left + width * 0.55;
        const double valueRight = left + width * 0.8;
        const QStringList values = content.lines.empty() ? QStringList() : content.lines.front().cells;
        for (size_t i = 0; i < columns.size(); ++i) {
            const bool total = i + 1 == columns.size();
            if (total) {
                p.drawLine(QPointF(captionRight + 20, y + 3), QPointF(valueRight, y + 3));
                y += 6;
                p.setFont(font(10, true));
            }
            p.drawText(QRectF(left, y, captionRight - left, m.detailLine + 2), Qt::AlignLeft | Qt::AlignBottom,
                       columns[i].caption.join(QLatin1Char(' ')));
            p.drawText(QRectF(captionRight, y, valueRight - captionRight, m.detailLine + 2),
                       Qt::AlignRight | Qt::AlignBottom, i < size_t(values.size()) ? values[int(i)] : QString());
            y += m.detailLine + 4;
        }
    } else {
        // Page header: the captions, bottom-aligned, under a rule.
        const double size = content.definition->fontSize;
        p.setFont(font(size - 0.5, true));
        const int captionLines = pages.captionLines();
        for (size_t c = 0; c < columns.size(); ++c) {
            const QStringList caption = wrapped(columns[c].caption, QFontMetricsF(p.font()),
                                                edges[c + 1] - edges[c] - 2 * cellPad, captionLines);
            for (int l = 0; l < caption.size(); ++l) {
                const double top = y + (captionLines - caption.size() + l) * m.captionLine;
                cell(int(c), caption[l], top, m.captionLine);
            }
        }
        y += captionLines * m.captionLine + 2;
        p.drawLine(QPointF(left, y), QPointF(left + width, y));
        y += m.captionGap - 2;

        for (int i = page.firstLine; i < page.endLine; ++i) {
            const auto& line = content.lines[size_t(i)];
            if (line.note) {
                // A note under its row, beside the row's first column, in as many lines as it takes.
                p.setFont(ReportLayout::font(size, false, true));
                const double indent = pages.noteIndent();
                const QStringList texts = pages.noteLines(i);
                const double top = y + (m.groupHeaderLine - m.detailLine) / 2;
                for (int l = 0; l < texts.size(); ++l)
                    p.drawText(QRectF(left + cellPad + indent, top + l * m.detailLine, width - 2 * cellPad - indent,
                                      m.detailLine),
                               Qt::AlignLeft | Qt::AlignVCenter, texts[l]);
                y += pages.lineHeight(i);
                continue;
            }
            if (line.groupHeader) {
                // A long heading takes a smaller type rather than running off the page.
                p.setFont(fitting({line.header}, 9.5, width - 2 * cellPad, true));
                p.drawText(QRectF(left + cellPad, y, width - 2 * cellPad, m.groupHeaderLine),
                           Qt::AlignLeft | Qt::AlignVCenter, line.header);
                y += m.groupHeaderLine;
                continue;
            }
            p.setFont(font(size));
            // A text too long for its column goes on in the lines under it; figures stand in the first.
            const auto cells = pages.cellLines(i);
            for (size_t c = 0; c < columns.size(); ++c)
                for (int l = 0; l < cells[c].size(); ++l)
                    cell(int(c), cells[c][l], y + l * m.detailLine, m.detailLine);
            y += pages.lineHeight(i);
        }

        const bool anyTotal =
            std::any_of(columns.begin(), columns.end(), [](const auto& c) { return c.total && !c.csvOnly; });
        if (page.reportFooter && anyTotal) {
            // The totals, between a rule above and a double rule below.
            p.setFont(font(size, true));
            y += 4;
            for (size_t c = 0; c < columns.size(); ++c) {
                if (!columns[c].total || columns[c].csvOnly)
                    continue;
                const double l = edges[c] + cellPad, r = edges[c + 1] - cellPad;
                p.drawLine(QPointF(l, y), QPointF(r, y));
                p.drawLine(QPointF(l, y + m.detailLine + 3), QPointF(r, y + m.detailLine + 3));
                p.drawLine(QPointF(l, y + m.detailLine + 5), QPointF(r, y + m.detailLine + 5));
                cell(int(c), content.totals[int(c)], y, m.detailLine);
            }
            p.drawText(QRectF(left + cellPad, y, width / 3, m.detailLine), Qt::AlignLeft | Qt::AlignBottom,
                       QStringLiteral("Total"));
        }
    }

    p.setFont(font(8));
    p.drawText(QRectF(left, paper.height() - m.margin, width, m.pageFooter), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Page %1 of %2").arg(index + 1).arg(pages.pages().size()));
}

void ReportPainter::print(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device))
        throw std::runtime_error("The report cannot be printed on this device.");
    const double scale = device.logicalDpiX() / 72.0;
    for (int i = 0; i < int(pages.pages().size()); ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.scale(scale, scale);
        drawPage(painter, i);
        painter.restore();
    }
    painter.end();
}

void writeReportPdf(const ReportContent& content, const QString& file) {
    writeWholeFile(file, [&content](QIODevice& device) {
        ReportPainter painter(content);
        QPdfWriter writer(&device);
        writer.setResolution(288);
        writer.setTitle(content.definition->windowCaption);
        writer.setCreator(QStringLiteral("Norvane Talvoro"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter),
                                         painter.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0)));
        painter.print(writer);
    });
}

namespace {

// A line of the column captions, then a line per detail row as the report prints it, in `cell`'s encoding: `cell`
// is told whether the value is a text (a name, an event, a message, which may come from a client's file) or one of
// the program's own figures.
QString reportLines(const ReportContent& content, QChar separator,
                    const std::function<QString(const QString&, bool text)>& cell) {
    const auto& columns = content.definition->columns;
    QStringList header;
    for (const auto& c : columns)
        header << cell(c.caption.join(QLatin1Char(' ')).simplified(), true);
    QString out = header.join(separator) + QLatin1Char('\n');
    for (const auto& line : content.lines) {
        if (line.groupHeader)
            continue;
        QStringList cells;
        for (int i = 0; i < line.cells.size(); ++i)
            cells << cell(line.cells[i], size_t(i) < columns.size() && columns[size_t(i)].format == ReportFormat::Text);
        out += cells.join(separator) + QLatin1Char('\n');
    }
    return out;
}

} // namespace

QString reportCsv(const ReportContent& content) {
    return reportLines(content, QLatin1Char(','), [](const QString& value, bool text) {
        return text ? CsvText::text(value) : CsvText::field(value);
    });
}

QString reportTabSeparated(const ReportContent& content) {
    // A tab or a line break inside a cell would start another cell or row.
    return reportLines(content, QLatin1Char('\t'), [](const QString& value, bool text) {
        QString kept = text ? CsvText::unformula(value) : value;
        for (QChar& ch : kept)
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
                ch = QLatin1Char(' ');
        return kept;
    });
}

void writeReportCsv(const ReportContent& content, const QString& file) {
    const QByteArray text = reportCsv(content).toUtf8();
    writeWholeFile(file, [&text](QIODevice& device) { device.write(text); });
}
