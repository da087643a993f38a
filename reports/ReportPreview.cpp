#include "ReportPreview.h"

#include "FileDialogs.h"
#include "MessageBoxes.h"

#include <QAction>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QToolBar>

ReportPreview::ReportPreview(ReportContent content, QWidget* parent)
    : QPrintPreviewDialog(parent), shown(std::move(content)) {
    drawing = std::make_unique<ReportPainter>(shown);
    setObjectName(shown.definition->name);
    setWindowTitle(shown.definition->windowCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    QPrinter* p = printer();
    p->setFullPage(true);
    p->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter),
                                 drawing->landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                                 QMarginsF(0, 0, 0, 0)));
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { drawing->print(*target); });

    if (auto* bar = findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* pdf = bar->addAction(QStringLiteral("Export PDF..."));
        pdf->setObjectName(QStringLiteral("actExportPdf"));
        connect(pdf, &QAction::triggered, this, [this] { askAndExport(true); });
        QAction* csv = bar->addAction(QStringLiteral("Export CSV..."));
        csv->setObjectName(QStringLiteral("actExportCsv"));
        connect(csv, &QAction::triggered, this, [this] { askAndExport(false); });
    }
    resize(1000, 760);
    move(0, 0);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::exportPdf(const QString& file) {
    writeReportPdf(shown, file);
}

void ReportPreview::exportCsv(const QString& file) {
    writeReportCsv(shown, file);
}

void ReportPreview::askAndExport(bool pdf) {
    const QString filter = pdf ? QStringLiteral("PDF files (*.pdf)") : QStringLiteral("CSV files (*.csv)");
    const QString file = FileDialogs::saveFileName(this, windowTitle(), QString(), filter,
                                                   pdf ? QStringLiteral("pdf") : QStringLiteral("csv"));
    if (file.isEmpty())
        return;
    try {
        pdf ? exportPdf(file) : exportCsv(file);
    } catch (const std::exception& e) {
        MessageBoxes::show(this, QString::fromStdString(e.what()));
    }
}
