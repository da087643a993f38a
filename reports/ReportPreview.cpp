#include "ReportPreview.h"

#include "FileDialogs.h"
#include "MessageBoxes.h"
#include "ScreenFit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
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
        // The dialog's own Print button takes the desktop's print key.
        for (QAction* action : bar->actions())
            if (action->text().remove(QLatin1Char('&')) == QLatin1String("Print")) {
                action->setObjectName(QStringLiteral("actPrint"));
                action->setShortcut(QKeySequence::Print);
                action->setToolTip(
                    QStringLiteral("Print (%1)").arg(action->shortcut().toString(QKeySequence::NativeText)));
            }
        bar->addSeparator();
        QAction* copy = bar->addAction(QStringLiteral("Copy Rows"));
        copy->setObjectName(QStringLiteral("actCopyRows"));
        copy->setShortcut(QKeySequence::Copy);
        copy->setToolTip(QStringLiteral("Copy the report's rows, tab-separated, to paste into a spreadsheet (%1)")
                             .arg(copy->shortcut().toString(QKeySequence::NativeText)));
        connect(copy, &QAction::triggered, this, &ReportPreview::copyRows);
        QAction* pdf = bar->addAction(QStringLiteral("Export PDF..."));
        pdf->setObjectName(QStringLiteral("actExportPdf"));
        connect(pdf, &QAction::triggered, this, [this] { askAndExport(true); });
        QAction* csv = bar->addAction(QStringLiteral("Export CSV..."));
        csv->setObjectName(QStringLiteral("actExportCsv"));
        connect(csv, &QAction::triggered, this, [this] { askAndExport(false); });
    }
    // As large as the report wants, as far as the screen (at any scale factor) holds it.
    const QRect screen = ScreenFit::available(this);
    resize(QSize(1000, 760).boundedTo(screen.size()));
    move(screen.topLeft());
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::exportPdf(const QString& file) {
    writeReportPdf(shown, file);
}

void ReportPreview::exportCsv(const QString& file) {
    writeReportCsv(shown, file);
}

void ReportPreview::copyRows() {
    QApplication::clipboard()->setText(reportTabSeparated(shown));
}

QString ReportPreview::proposedName() const {
    // The taxpayer's name (the title's first line) and the report's; the whole book's title is its name alone.
    const QString report = shown.definition->windowCaption;
    const QString name = shown.title.section(QLatin1Char('\n'), 0, 0).simplified();
    const QString both =
        name.isEmpty() || name == report || name == shown.definition->titleText ? report : name + " - " + report;
    return FileDialogs::safeFileName(both, QStringLiteral("report"));
}

void ReportPreview::askAndExport(bool pdf) {
    const QString filter = pdf ? QStringLiteral("PDF files (*.pdf)") : QStringLiteral("CSV files (*.csv)");
    const QString suffix = pdf ? QStringLiteral("pdf") : QStringLiteral("csv");
    const QString proposed = QDir(FileDialogs::documentsFolder()).filePath(proposedName() + '.' + suffix);
    const QString file =
        FileDialogs::saveFileName(this, windowTitle(), proposed, filter, suffix, FileDialogs::targetRefusal);
    if (file.isEmpty())
        return;
    try {
        pdf ? exportPdf(file) : exportCsv(file);
    } catch (const std::exception& e) {
        MessageBoxes::show(this, QString::fromStdString(e.what()));
    }
}
