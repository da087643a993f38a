// Exports the reports of the two sample cases as PDF files, for the manual: the samples are retrieved into a scratch
// copy of the delivered database and calculated exactly as the report commands do.
//
//   talvoro-samplereports --main kelvadat.mdb --samples FOLDER --out FOLDER

#include "CaseReader.h"
#include "ReportKind.h"
#include "ReportPainter.h"
#include "ReportSource.h"
#include "RunReporter.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"
#include "ToolSupport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ToolSupport::quietQt();
    QGuiApplication app(argc, argv);
    QString mainFile, samples, out;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--main"))
            mainFile = args[i + 1];
        else if (args[i] == QLatin1String("--samples"))
            samples = args[i + 1];
        else if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
    }
    if (mainFile.isEmpty() || samples.isEmpty() || out.isEmpty())
        return 2;
    QTemporaryDir work;
    const QString scratch = work.filePath(QStringLiteral("kelvadat.mdb"));
    QDir().mkpath(out);
    try {
        QFile::copy(mainFile, scratch);
        QFile::setPermissions(scratch, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        for (const char* sample : {"income-tax-sample.mdb", "payroll-sample.mdb"})
            TaxpayerTransfer::retrieve(QDir(samples).filePath(QLatin1String(sample)), scratch);
        SqliteDatabase db(scratch);
        ToolSupport::QuietReporter quiet;
        // The printing date of the samples' reports is fixed, so the manual does not change from build to build.
        const QDate printed(2026, 1, 15);
        const struct {
            int taxpayer;
            const char* report;
            const char* file;
        } reports[] = {{9001, "interest", "sample-income-interest.pdf"},
                       {9001, "penalty", "sample-income-penalty.pdf"},
                       {9001, "summary", "sample-income-summary.pdf"},
                       {9001, "payment", "sample-income-payment.pdf"},
                       {9002, "deposit", "sample-payroll-deposit.pdf"}};
        for (const auto& r : reports) {
            const TaxpayerCase tp = *CaseReader(db).read(r.taxpayer);
            const ReportKind& kind = *ReportKind::byKey(QLatin1String(r.report));
            RunResult result;
            if (kind.run && kind.run(db, quiet, tp, result) != RunOutcome::Written)
                throw std::runtime_error(quiet.messages.join(QLatin1Char(' ')).toStdString());
            writeReportPdf(kind.run ? buildReport(*kind.layout, tp, result.rows, printed)
                                    : loadReport(db, *kind.layout, tp, printed),
                           QDir(out).filePath(QLatin1String(r.file)));
        }
    } catch (const std::exception& e) {
        QTextStream(stderr) << "talvoro-samplereports: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
