#include "QtPrinters.h"
#include "ReportContent.h"
#include "ReportPainter.h"
#include "ReportSource.h"
#include "Rounding.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Rows as the report's query would return them.
RecordSet rows(const QStringList& fields, const std::vector<QVariantList>& values) {
    RecordSet r(fields);
    for (const auto& v : values)
        r.append(v);
    return r;
}

const QDate printed(2026, 12, 8);

} // namespace

TEST(ReportFormat, AsTheReportsPrint) {
    EXPECT_EQ(formatReportValue(ReportFormat::Money, 1234567.875), "1,234,567.88");
    EXPECT_EQ(formatReportValue(ReportFormat::Money, 0.125), "0.12"); // an exact half cent goes to even
    EXPECT_EQ(formatReportValue(ReportFormat::Money, -1234.5), "-1,234.50");
    EXPECT_EQ(formatReportValue(ReportFormat::Money, 0.0), "0.00");
    EXPECT_EQ(formatReportValue(ReportFormat::Money, QVariant()), "");
    EXPECT_EQ(formatReportValue(ReportFormat::Count, 1234.0), "1,234");
    EXPECT_EQ(formatReportValue(ReportFormat::Percent, 0.07), "7.00%");
    EXPECT_EQ(formatReportValue(ReportFormat::Percent, 0.0025), "0.25%");
    EXPECT_EQ(formatReportValue(ReportFormat::Factor, 0.0177986858027097), "0.01779869");
    EXPECT_EQ(formatReportValue(ReportFormat::Factor, 2.73972602740091E-05), "0.00002740");
    EXPECT_EQ(formatReportValue(ReportFormat::Date, QDate(2005, 4, 15)), "04/15/2005");
    // Found by fuzzing: a rate typed as 70000000000000000 could not be shown and ended in the error report. On
    // screen such a value shows as a plain number; a report says it overflows rather than print it wrong.
    EXPECT_EQ(formatForDisplay(ReportFormat::Percent, 7e16), "7e+16");
    EXPECT_EQ(formatForDisplay(ReportFormat::Money, -1e300), "-1e+300");
    EXPECT_THROW(formatReportValue(ReportFormat::Money, 9.3e16), Rounding::ArithmeticFault);
}

// Totals never wrap: two payments of 6E+16 give the overflow message instead of a negative total.
TEST(ReportContent, ATotalBeyondWholeCentsIsAnOverflow) {
    const auto& d = ReportDefinition::payments();
    const RecordSet r = rows(
        {"Taxpayer Name", "Date Of Payment", "Amount Of Payment", "Payment Allocated To Tax",
         "Payment Allocated To Penalties", "Payment Allocated To Interest", "Taxpayer Number"},
        {{"Smith", QDate(2005, 5, 1), 6e16, 0.0, 0.0, 0.0, 1}, {"Smith", QDate(2005, 6, 1), 6e16, 0.0, 0.0, 0.0, 1}});
    try {
        ReportContent::build(d, r, "title", printed);
        FAIL() << "a total wrapped";
    } catch (const Rounding::ArithmeticFault& e) {
        EXPECT_STREQ(e.what(), Rounding::overflowText);
    }
}

// Totals are the sums of the printed values, so a column adds up on paper.
TEST(ReportContent, TotalsAddUpThePrintedValues) {
    const auto& d = ReportDefinition::payments();
    const RecordSet r = rows({"Taxpayer Name", "Date Of Payment", "Amount Of Payment", "Payment Allocated To Tax",
                              "Payment Allocated To Penalties", "Payment Allocated To Interest", "Taxpayer Number"},
                             {{"Smith", QDate(2005, 5, 1), 0.125, 0.125, QVariant(), 1000.0, 1},
                              {"Smith", QDate(2005, 6, 1), 0.125, 0.375, 2.0, 1234.565, 1}});
    const ReportContent c = ReportContent::build(d, r, "title", printed);
    ASSERT_EQ(c.detailCount(), 2);
    EXPECT_EQ(c.lines[1].cells[1], "0.12");
    EXPECT_EQ(c.totals, QStringList({"", "0.24", "0.50", "2.00", "2,234.56"}));
}

TEST(ReportContent, OneGroupHeaderPerDistinctKey) {
    const auto& d = ReportDefinition::depositPenalty();
    const QStringList fields = {"Amount Of Payment",
                                "Date",
                                "Days Overdue",
                                "Due Date Of Liability",
                                "Event",
                                "Penalty",
                                "Penalty Percentage",
                                "Required Deposit",
                                "Required Deposit Number",
                                "Unpaid Balance"};
    auto row = [](int number, const char* event, double penalty) {
        return QVariantList{0.0, QDate(2005, 2, 15), 0, QVariant(), event, penalty, 0.0, 0.0, number, 0.0};
    };
    const ReportContent c = ReportContent::build(
        d,
        rows(fields, {row(1, "Liability", 0), row(1, "Payment", 30), row(2, "Liability", 0), row(2, "Payment", 12.5)}),
        "t", printed);
    QStringList shape;
    for (const auto& l : c.lines)
        shape << (l.groupHeader ? l.header : l.cells[1]);
    EXPECT_EQ(shape,
              QStringList({"Deposit Number: 1", "Liability", "Payment", "Deposit Number: 2", "Liability", "Payment"}));
    EXPECT_EQ(c.totals.last(), "42.50");
}

TEST(ReportContent, TitlesHaveThreeLines) {
    EXPECT_EQ(reportTitle(ReportDefinition::penaltyAndInterest(), "O'Brien", QDate(2005, 4, 15), QDate(2005, 12, 31)),
              "O'Brien\nPenalty & Interest Report for the return originally due 04/15/2005\n"
              "Report calculated to 12/31/2005");
    EXPECT_EQ(reportTitle(ReportDefinition::depositPenalty(), "Co", QDate(2005, 4, 30), QDate(2005, 12, 31))
                  .section('\n', 1, 1),
              "Payroll Tax Deposit Penalty Report for the return originally due 04/30/2005");
}

// The stored titles' doubled "Report Report" and "Depost" are mended.
TEST(ReportContent, TitleTextsSayReportOnce) {
    QStringList titles;
    for (const auto* d : ReportDefinition::all())
        titles << d->titleText;
    EXPECT_EQ(titles, QStringList({"Penalty & Interest Report for the return originally due ",
                                   "Failure To Pay & File Penalty Calculation Report for the return originally due ",
                                   "Summary Penalty & Interest Report for the return originally due ",
                                   "Payment Report for the return originally due ",
                                   "Payroll Tax Deposit Penalty Report for the return originally due ",
                                   "Estimated Tax Penalty for the tax year ending "}));
}

TEST(ReportContent, EmptyTablesShowHeadersAndZeroTotals) {
    for (const auto* d : ReportDefinition::all()) {
        const ReportContent c = ReportContent::build(*d, RecordSet(), "t", printed);
        EXPECT_TRUE(c.lines.empty());
        for (int i = 0; i < int(d->columns.size()) && !d->captionedBlock; ++i) {
            EXPECT_EQ(c.totals[i], d->columns[size_t(i)].total ? "0.00" : "") << d->name.toStdString();
        }
        ReportLayout layout(c, d->landscape);
        ASSERT_EQ(layout.pages().size(), 1u);
        EXPECT_TRUE(layout.pages()[0].reportHeader && layout.pages()[0].reportFooter);
    }
}

// A stopped taxpayer's message, printed under its row, never starts a page: on paper it would read as the next
// taxpayer's.
TEST(ReportLayout, ANoteStaysWithItsRow) {
    for (int count = 20; count < 80; ++count) {
        std::vector<WholeBook::Line> lines;
        for (int i = 1; i <= count; ++i) {
            WholeBook::Line l;
            l.number = i;
            l.name = QStringLiteral("Taxpayer %1").arg(i);
            if (i % 3 == 0)
                l.message = QStringLiteral("The 'End Date' is missing.");
            else
                l.totals = SummaryTotals();
            lines.push_back(l);
        }
        const ReportContent c = wholeBookContent(lines, QDate(2026, 12, 8));
        ReportLayout layout(c, true);
        for (const auto& page : layout.pages()) {
            if (page.firstLine < page.endLine) {
                EXPECT_FALSE(c.lines[size_t(page.firstLine)].note) << count << " rows";
            }
        }
    }
}

TEST(ReportLayout, LongReportsBreakIntoPagesAndEndWithTheTotals) {
    const auto& d = ReportDefinition::failureToPayAndFile();
    std::vector<QVariantList> values;
    for (int i = 0; i < 200; ++i)
        values.push_back({QDate(2005, 1, 1).addDays(i), "Penalty - Failure To Pay", 0.0, 50.0, 10000.0});
    const ReportContent c = ReportContent::build(
        d, rows({"Date", "Event", "Failure To File Penalty", "Failure To Pay Penalty", "Tax"}, values), "a\nb\nc",
        printed);
    const ReportLayout layout(c, false);
    ASSERT_GT(layout.pages().size(), 3u);
    int covered = 0;
    for (size_t p = 0; p < layout.pages().size(); ++p) {
        const auto& page = layout.pages()[p];
        EXPECT_EQ(page.firstLine, covered) << "page " << p;
        covered = page.endLine;
        EXPECT_EQ(page.reportHeader, p == 0);
        EXPECT_EQ(page.reportFooter, p + 1 == layout.pages().size());
    }
    EXPECT_EQ(covered, 200);
    EXPECT_EQ(c.totals[4], "10,000.00");

    // However many rows, the totals' page carries rows too.
    for (int rows = 1; rows < 130; ++rows) {
        std::vector<QVariantList> some(values.begin(), values.begin() + rows);
        const ReportContent part = ReportContent::build(
            d, ::rows({"Date", "Event", "Failure To File Penalty", "Failure To Pay Penalty", "Tax"}, some), "a\nb\nc",
            printed);
        const ReportLayout layout(part, false);
        const auto& last = layout.pages().back();
        EXPECT_GT(last.endLine, last.firstLine) << rows << " rows";
    }
}

// Nothing of a client's name or of a note is cut on paper: too long for its column, it goes on in the lines under it,
// and the row is as tall as they are.
TEST(ReportLayout, ANameOrANoteTooLongForItsColumnWraps) {
    const QString name = QStringLiteral("Kessler-Abernathy Mechanical Contracting and Industrial Refrigeration "
                                        "Services of Greater Northwestern Ohio LLC");
    const QString message = QStringLiteral("The deposit due 04/15/2005 has a liability date that is no required "
                                           "deposit's: 04/16/2005. Choose one of the taxpayer's deposit due dates "
                                           "for it on the payment form, then run the report again.");
    std::vector<WholeBook::Line> lines(3);
    for (int i = 0; i < 3; ++i) {
        lines[size_t(i)].number = i + 1;
        lines[size_t(i)].name = i == 1 ? name : QStringLiteral("Short %1").arg(i);
        lines[size_t(i)].totals = SummaryTotals();
    }
    lines[2].message = message;
    const ReportContent c = wholeBookContent(lines, printed);
    const ReportLayout layout(c, true);
    const auto edges = layout.columnEdges();
    const QFontMetricsF metrics(ReportLayout::font(c.definition->fontSize));
    const double nameWidth = edges[2] - edges[1] - 2 * ReportLayout::cellPad;
    int named = -1, noted = -1;
    for (int i = 0; i < int(c.lines.size()); ++i) {
        if (c.lines[size_t(i)].note)
            noted = i;
        else if (c.lines[size_t(i)].cells.value(1) == name)
            named = i;
    }
    ASSERT_GE(named, 0);
    ASSERT_GE(noted, 0);
    const QStringList nameLines = layout.cellLines(named)[1];
    ASSERT_GT(nameLines.size(), 1);
    EXPECT_EQ(nameLines.join(' '), name);
    for (const auto& l : nameLines)
        EXPECT_LE(metrics.horizontalAdvance(l), nameWidth) << l.toStdString();
    EXPECT_DOUBLE_EQ(layout.lineHeight(named), nameLines.size() * layout.metrics().detailLine);
    EXPECT_DOUBLE_EQ(layout.lineHeight(0), layout.metrics().detailLine);
    const QStringList noteLines = layout.noteLines(noted);
    EXPECT_EQ(noteLines.join(' '), message);
    EXPECT_GT(layout.lineHeight(noted), layout.metrics().groupHeaderLine);

    // A word wider than its column is broken where it must be, without a character lost.
    const QString word = QString(60, 'W');
    const QStringList broken = ReportLayout::wrap(word, ReportLayout::font(7), 50);
    EXPECT_GT(broken.size(), 1);
    EXPECT_EQ(broken.join(QString()), word);
    // Nor is a character of two UTF-16 units (U+20000) broken in its middle.
    QString wide;
    for (int i = 0; i < 40; ++i)
        wide += QString::fromUcs4(U"\U00020000");
    const QStringList wideLines = ReportLayout::wrap(wide, ReportLayout::font(7), 50);
    EXPECT_GT(wideLines.size(), 1);
    EXPECT_EQ(wideLines.join(QString()), wide);
    for (const QString& l : wideLines)
        EXPECT_TRUE(!l.isEmpty() && !l.back().isHighSurrogate() && !l.front().isLowSurrogate());

    // A title line too long for the page in a legible type wraps instead.
    const ReportContent titled = ReportContent::build(ReportDefinition::estimatedTax(), RecordSet(QStringList()),
                                                      name + " " + name + "\nEstimated Tax\nthird", printed);
    const ReportLayout titleLayout(titled, false);
    ASSERT_GT(titleLayout.title().size(), 3u);
    QStringList firstLine;
    for (size_t i = 0; i + 2 < titleLayout.title().size(); ++i) {
        firstLine << titleLayout.title()[i].text;
        EXPECT_GE(titleLayout.title()[i].size, 9);
    }
    EXPECT_EQ(firstLine.join(' '), name + " " + name);

    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    writeReportPdf(c, dir.filePath("book.pdf"));
    QProcess p;
    p.start(pdftotext, {dir.filePath("book.pdf"), "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    for (const QString& word : (name + " " + message).split(' '))
        EXPECT_TRUE(text.contains(word)) << word.toStdString();
}

// No column caption of any report is cut: each line of it fits its column in the captions' type.
TEST(ReportLayout, EveryCaptionFitsItsColumn) {
    std::vector<const ReportDefinition*> all = ReportDefinition::all();
    all.push_back(&ReportDefinition::wholeBook());
    for (const ReportDefinition* d : all) {
        if (d->captionedBlock)
            continue;
        const ReportContent c = ReportContent::build(*d, RecordSet(QStringList()), "t", printed);
        const ReportLayout layout(c, d->landscape);
        const auto edges = layout.columnEdges();
        const QFont f = ReportLayout::font(d->fontSize - 0.5, true);
        for (size_t i = 0; i < d->columns.size(); ++i) {
            if (d->columns[i].csvOnly)
                continue;
            const double width = edges[i + 1] - edges[i] - 2 * ReportLayout::cellPad;
            const QStringList& caption = d->columns[i].caption;
            QStringList lines = caption.size() > 1 ? caption : ReportLayout::wrap(caption.value(0), f, width);
            EXPECT_LE(lines.size(), layout.captionLines()) << d->name.toStdString() << ": " << i;
            for (const QString& line : lines)
                EXPECT_LE(QFontMetricsF(f).horizontalAdvance(line), width)
                    << d->name.toStdString() << ": " << line.toStdString();
        }
    }
}

// Drawn to PDF: the captions stand on every page, the totals once, the page numbers count the pages.
TEST(ReportPainter, PdfRepeatsTheCaptionsOnEveryPage) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const auto& d = ReportDefinition::penaltyAndInterest();
    const QStringList fields = {"Date",          "Date2", "Event",           "Unpaid Balance", "Accrued Interest",
                                "Interest Rate", "Days",  "Interest Factor", "Interest"};
    std::vector<QVariantList> values;
    for (int i = 0; i < 120; ++i)
        values.push_back({QDate(2005, 1, 1).addDays(i), QDate(2005, 1, 1).addDays(i), "Interest", 10000.0, 0.0, 0.07, 1,
                          0.000191791, 1.92});
    const ReportContent c = ReportContent::build(d, rows(fields, values), "O'Brien\nline two\nline three", printed);
    const int pages = int(ReportLayout(c, true).pages().size());
    ASSERT_GT(pages, 2);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    writeReportPdf(c, pdf);
    QProcess p;
    p.start(pdftotext, {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(text.count("Tax & Penalty"), pages);
    EXPECT_EQ(text.count("Report print date 12/08/2026"), 1);
    EXPECT_EQ(text.count("230.40"), 1); // 120 x 1.92, in the footer only
    EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
}

// The rows for the clipboard: a line each under the captions, a tab between cells, and a cell never split into two.
TEST(ReportExport, RowsCopyTabSeparated) {
    std::vector<WholeBook::Line> lines(2);
    lines[0].number = 1;
    lines[0].name = QStringLiteral("=HYPERLINK(\"x\")\tand\nmore");
    lines[0].totals = SummaryTotals();
    lines[1].number = 2;
    lines[1].name = QStringLiteral("O'Brien, Pat");
    lines[1].message = QStringLiteral("The 'End Date' is missing.");
    const QString tsv = reportTabSeparated(wholeBookContent(lines, printed));
    const QStringList rowsCopied = tsv.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rowsCopied.size(), 3);
    const auto& columns = ReportDefinition::wholeBook().columns;
    for (const QString& row : rowsCopied)
        EXPECT_EQ(row.count('\t'), int(columns.size()) - 1) << row.toStdString();
    EXPECT_TRUE(rowsCopied[0].startsWith("Taxpayer Number\tTaxpayer Name\tEnd Date\tInterest\t"));
    EXPECT_TRUE(rowsCopied[1].startsWith("1\t'=HYPERLINK(\"x\") and more\t"));
    EXPECT_TRUE(rowsCopied[2].startsWith("2\tO'Brien, Pat\t"));
    EXPECT_TRUE(rowsCopied[2].endsWith("\tThe 'End Date' is missing."));
}

TEST(ReportExport, CsvHasTheCaptionsAndTheRowsAsPrinted) {
    const auto& d = ReportDefinition::summary();
    QStringList fields;
    QVariantList values;
    for (const auto& c : d.columns) {
        fields << c.field;
        values << 12345.678;
    }
    const ReportContent c = ReportContent::build(d, rows(fields, {values}), "t", printed);
    const QString csv = reportCsv(c);
    EXPECT_TRUE(csv.startsWith("Interest,Failure To Pay Penalty,Failure To File Penalty,Accuracy Penalty,"));
    EXPECT_TRUE(csv.contains("Tax (net of payments),"));
    EXPECT_TRUE(csv.endsWith("\"12,345.68\"\n"));
    EXPECT_EQ(csv.count('\n'), 2);
}
