#include "Transcript.h"
#include "TranscriptFile.h"

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A transcript printed to PDF imports as its text does: the PDF's text is read page by page.
namespace {

const QStringList lines = {
    "Account Transcript",
    "FORM NUMBER: 1040                       TAX PERIOD: Dec. 31, 2022",
    "TAXPAYER IDENTIFICATION NUMBER: XXX-XX-1234",
    "TRANSACTIONS",
    "CODE  EXPLANATION OF TRANSACTION        CYCLE       DATE          AMOUNT",
    "150   Tax return filed                  20231805    05-08-2023    $10,000.00",
    "806   W-2 or 1099 withholding                       04-18-2023    -$6,000.00",
    "670   Payment                                       07-01-2023    -$1,000.00",
};

QString transactionsOf(const QByteArray& bytes) {
    QStringList out;
    const auto account = Transcript::read(bytes, "t");
    out << account.formNumber << account.taxPeriod.toString(Qt::ISODate);
    for (const auto& l : account.lines)
        if (l.transaction)
            out << QStringLiteral("%1 %2 %3")
                       .arg(l.transaction->code, l.transaction->date.toString(Qt::ISODate),
                            QString::number(l.transaction->amount.cents()));
    return out.join('\n');
}

TEST(TranscriptPdf, APrintedTranscriptReadsAsItsText) {
    QTemporaryDir dir;
    const QString file = dir.filePath("transcript.pdf");
    {
        QPdfWriter pdf(file);
        QPainter p(&pdf);
        QFont mono("DejaVu Sans Mono");
        mono.setPointSize(9);
        p.setFont(mono);
        const int step = p.fontMetrics().height() * 2;
        int y = step;
        for (int i = 0; i < lines.size(); ++i) {
            if (i == 6) { // the rest on a second page, as a long transcript has it
                pdf.newPage();
                y = step;
            }
            p.drawText(0, y, lines[i]);
            y += step;
        }
    }
    EXPECT_EQ(transactionsOf(transcriptBytes(file)), transactionsOf(lines.join('\n').toUtf8()));
    EXPECT_EQ(transactionsOf(lines.join('\n').toUtf8()).count('\n'), 4);
}

} // namespace
