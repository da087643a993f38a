// The program at scale: a database of 1,000 taxpayers with 200 payments each. Times, each once: the start-up to a
// usable main window, opening the taxpayer list, the full interest run and the summary run of the largest taxpayer,
// and opening its payment editor; the summary of the whole book (every taxpayer, as talvoro-run --all writes it and
// as the main window shows it); then the peak memory of the process. Prints the figures; asserts nothing.
//
//   talvoro-bench-scale

#include "Editors.h"
#include "MainWindow.h"
#include "MessageBoxes.h"
#include "Settings.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "WholeBook.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

#include <sys/resource.h>

namespace {

double ms(QElapsedTimer& clock) {
    const double v = double(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    return v;
}

void generate(const QString& file) {
    SqliteDatabase db(file);
    Transaction t(db);
    for (int n = 1; n <= 1000; ++n) {
        // Taxpayer 1 runs longest: twenty years.
        const int years = n == 1 ? 20 : 2 + n % 5;
        db.exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],"
                               "[Extended Due Date Of Return],[Date Return Filed],[End Date],[Initial Balance],"
                               "[Calculate Failure To Pay Penalty],[Calculate Failure To File Penalty],"
                               "[Assessment Date For Failure To Pay Penalty]) VALUES('Client %1 of the practice',"
                               "#4/15/2005#,#10/15/2005#,#12/1/2005#,%2,%3,1,1,#6/1/2006#)")
                    .arg(n, 4, 10, QLatin1Char('0'))
                    .arg(SqlText::date(QDate(2005 + years, 4, 15)))
                    .arg(10000 + n * 37));
        for (int p = 0; p < 200; ++p)
            db.exec(QStringLiteral("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],"
                                   "[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax],"
                                   "[Payment Allocated To Penalties],[Payment Allocated To Interest]) VALUES(%1,"
                                   "'Client','Payment',%2,60,40,10,10)")
                        .arg(n)
                        .arg(SqlText::date(QDate(2005, 5, 1).addDays(p * 365 * years / 200))));
    }
    t.commit();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings, data;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    QStringList messages;
    MessageBoxes::setHook([&messages](const QString& text) { messages << text; });

    const QString file = QDir(data.path()).filePath(QStringLiteral("kelvadat.mdb"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvadat.mdb"), file);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QElapsedTimer clock;
    clock.start();
    generate(file);
    const double generateMs = ms(clock);
    Settings::setNewpath(data.path() + QLatin1Char('/'));
    Settings::setErrorState(false);

    QTextStream out(stdout);
    clock.restart();
    MainWindow window;
    window.show();
    window.load();
    QApplication::processEvents();
    const double startMs = ms(clock);

    window.selectExistingTaxpayer();
    QApplication::processEvents();
    const double listMs = ms(clock);
    const int listed = window.findChild<QTreeWidget*>(QStringLiteral("DataList1"))->topLevelItemCount();

    window.chooseTaxpayer(1);
    clock.restart();
    window.action(QStringLiteral("mnuInterestReport"))->trigger();
    const double interestMs = ms(clock);
    window.action(QStringLiteral("mnuSummaryReport"))->trigger();
    const double summaryMs = ms(clock);

    PaymentEditor editor({data.path() + QLatin1Char('/'), 1, window.activeName(), false});
    editor.show();
    QApplication::processEvents();
    const double editorMs = ms(clock);

    editor.close();
    clock.restart();
    int stopped = 0;
    qsizetype csvBytes = 0;
    {
        SqliteDatabase db(file);
        const auto lines = WholeBook::summaries(db);
        csvBytes = WholeBook::csv(lines).toUtf8().size();
        for (const auto& l : lines)
            stopped += l.totals ? 0 : 1;
    }
    const double bookMs = ms(clock);
    window.action(QStringLiteral("mnuAllTaxpayers"))->trigger();
    const double bookPreviewMs = ms(clock);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    out << "1,000 taxpayers x 200 payments (generated in " << QString::number(generateMs / 1000, 'f', 1) << " s)\n"
        << "start-up to the main window: " << QString::number(startMs, 'f', 1) << " ms\n"
        << "taxpayer list (" << listed << " names): " << QString::number(listMs, 'f', 1) << " ms\n"
        << "full interest run, 20 years, 200 payments: " << QString::number(interestMs, 'f', 1) << " ms\n"
        << "summary run: " << QString::number(summaryMs, 'f', 1) << " ms\n"
        << "payment editor (" << editor.rowCount() << " payments): " << QString::number(editorMs, 'f', 1) << " ms\n"
        << "whole book, 1,000 summaries to CSV (" << csvBytes << " bytes, " << stopped
        << " stopped): " << QString::number(bookMs / 1000, 'f', 2) << " s\n"
        << "whole book in the preview: " << QString::number(bookPreviewMs / 1000, 'f', 2) << " s\n"
        << "peak memory: " << QString::number(double(usage.ru_maxrss) / 1024.0, 'f', 1) << " MB\n";
    if (!messages.isEmpty())
        out << "messages: " << messages.join(QStringLiteral(" | ")) << '\n';
    return 0;
}
