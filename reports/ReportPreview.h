#pragma once

#include "ReportContent.h"
#include "ReportPainter.h"

#include <QPrintPreviewDialog>

#include <memory>

// The preview window of a report: print (Ctrl+P), zoom, page navigation, copy of the rows (Ctrl+C), and export to PDF
// or CSV. Opens at the top-left of
// the screen and does not block the main window.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    explicit ReportPreview(ReportContent content, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const ReportContent& content() const { return shown; }
    // Export without asking where: what the export buttons do once a file is chosen.
    void exportPdf(const QString& file);
    void exportCsv(const QString& file);
    // The rows, tab-separated with the column captions first, onto the clipboard (Copy Rows, Ctrl+C).
    void copyRows();
    // What an export proposes: "NAME - REPORT", in the documents folder.
    QString proposedName() const;

private:
    ReportContent shown;
    std::unique_ptr<ReportPainter> drawing;
    void askAndExport(bool pdf);
};
