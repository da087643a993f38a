#pragma once

#include "ReportLayout.h"

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// Draws a laid-out report: the same drawing for the preview, the printer and a PDF file.
class ReportPainter {
public:
    explicit ReportPainter(const ReportContent& content);

    const ReportLayout& layout() const { return pages; }
    bool landscape() const;
    // Draws page `index` (from 0) with the painter's coordinates in points from the paper's top-left corner.
    void drawPage(QPainter& painter, int index) const;
    // Every page onto a printer or PDF writer, one after another.
    void print(QPagedPaintDevice& device) const;

private:
    const ReportContent& content;
    ReportLayout pages;
};

// The report as a PDF file, written whole or not at all; throws a StoreError saying why it could not be written, the
// previous file kept.
void writeReportPdf(const ReportContent& content, const QString& file);
// The report as CSV, written the same way: a line of the column captions, then one line per detail row as the report
// prints it.
void writeReportCsv(const ReportContent& content, const QString& file);
QString reportCsv(const ReportContent& content);
// The same lines tab-separated, for the clipboard: they paste into a spreadsheet a row per line and a cell per column.
QString reportTabSeparated(const ReportContent& content);
