// Times a penalty-and-interest report of 5,000 rows: drawn into a PDF file, and its first page in the preview.
// Prints the figures; asserts nothing.
//
//   talvoro-bench-report

#include "ReportPainter.h"
#include "ReportPreview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto& d = ReportDefinition::penaltyAndInterest();
    RecordSet rows({"Date", "Date2", "Event", "Unpaid Balance", "Accrued Interest", "Interest Rate", "Days",
                    "Interest Factor", "Interest"});
    for (int i = 0; i < 5000; ++i)
        rows.append({QDate(1985, 4, 16).addDays(i * 3), QDate(1985, 4, 18).addDays(i * 3),
                     i % 3 ? QStringLiteral("Interest") : QStringLiteral("Payment"), 250000.0 - i, 1234.56 + i, 0.07, 3,
                     0.000575510, 143.88});

    QTextStream out(stdout);
    QElapsedTimer clock;
    clock.start();
    const ReportContent content =
        ReportContent::build(d, rows, "Forty Years\nline two\nline three", QDate(2026, 12, 8));
    const double buildMs = double(clock.nsecsElapsed()) / 1e6;
    QTemporaryDir dir;
    clock.restart();
    writeReportPdf(content, dir.filePath("report.pdf"));
    const double pdfMs = double(clock.nsecsElapsed()) / 1e6;

    // The preview: from opening the window to its first page drawn.
    clock.restart();
    auto* preview = new ReportPreview(content);
    bool painted = false;
    QObject::connect(
        preview, &QPrintPreviewDialog::paintRequested, preview, [&painted] { painted = true; }, Qt::QueuedConnection);
    preview->show();
    while (!painted)
        QApplication::processEvents();
    const double previewMs = double(clock.nsecsElapsed()) / 1e6;
    const int pages = int(ReportLayout(content, true).pages().size());
    out << "5,000 rows, " << pages << " pages: content " << QString::number(buildMs, 'f', 1) << " ms, PDF "
        << QString::number(pdfMs, 'f', 1) << " ms, preview shown " << QString::number(previewMs, 'f', 1) << " ms\n";
    delete preview;
    return 0;
}
