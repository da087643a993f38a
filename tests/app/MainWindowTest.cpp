#include "MainWindow.h"
#include "Editors.h"
#include "ErrorDialog.h"
#include "ErrorHandler.h"
#include "ErrorReportText.h"
#include "ErrorResetWindow.h"
#include "FileDialogs.h"
#include "InfoWindows.h"
#include "MessageBoxes.h"
#include "NettingDialog.h"
#include "RatesFile.h"
#include "ReportPreview.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StartUp.h"
#include "TestSupport.h"
#include "TransferDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

// The main window on a fresh copy of the delivered database, with settings in a throw-away folder.
class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;
    QStringList messages;

    QString newpath() const { return dataDir.path() + QLatin1Char('/'); }
    QString mainFile() const { return dataDir.filePath("kelvadat.mdb"); }

    int addTaxpayer(const QString& name, bool payroll) {
        SqliteDatabase db(mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
                "[Initial Balance],[Payroll Tax Situation]) VALUES(" +
                SqlText::quote(name) + ",#4/15/2005#,#12/31/2005#,10000," + (payroll ? "1" : "0") + ")");
        return db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
    }
    static bool enabled(MainWindow& w, const char* name) { return w.action(name)->isEnabled(); }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        MessageBoxes::setHook([this](const QString& text) { messages << text; });
    }
    void init() {
        messages.clear();
        SectionTrail::clear();
        QFile::remove(mainFile());
        QVERIFY(QFile::copy(TALVORO_BIN_DIR "/kelvadat.mdb", mainFile()));
        QFile::setPermissions(mainFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        Settings::setNewpath(newpath());
        Settings::setErrorState(false);
        Settings::setShowSplash(false);
    }

    void startUpInErrorState() {
        Settings::setErrorState(true);
        MainWindow w;
        w.load();
        QVERIFY(w.action("mnuErrorState")->isVisible());
        QVERIFY(enabled(w, "mnuErrorState"));
        QVERIFY(!w.backups().isActive());
        QVERIFY(!enabled(w, "mnuReport") && !enabled(w, "mnuTransactions"));

        Settings::setErrorState(false);
        MainWindow fine;
        fine.load();
        QVERIFY(!fine.action("mnuErrorState")->isVisible());
        QVERIFY(fine.backups().isActive());
    }

    void payrollItemsFollowTheActiveTaxpayer() {
        const int payroll = addTaxpayer("Payroll Co", true);
        const int income = addTaxpayer("O'Brien", false);
        MainWindow w;
        w.load();
        w.selectExistingTaxpayer();
        auto* list = w.findChild<QTreeWidget*>("DataList1");
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(1), QString("O'Brien")); // ordered by name, with its number
        QCOMPARE(list->topLevelItem(0)->text(0), QString::number(income));
        w.chooseTaxpayer(payroll);
        QCOMPARE(w.Taxpayer_Number, payroll);
        QCOMPARE(w.activeName(), QString("Payroll Co"));
        QVERIFY(enabled(w, "mnuPayrollTaxLiabilityData") && enabled(w, "mnuPRTaxPenaltyRpt"));
        QVERIFY(enabled(w, "mnuReport") && enabled(w, "mnuInterestReport"));
        QVERIFY(list->isHidden());
        w.chooseTaxpayer(income);
        QVERIFY(!enabled(w, "mnuPayrollTaxLiabilityData") && !enabled(w, "mnuPRTaxPenaltyRpt"));
        QVERIFY(enabled(w, "mnuEnterPayments"));
    }

    void fullRefreshAfterTheActiveTaxpayerWasDeleted() {
        const int kept = addTaxpayer("Kept", false);
        const int gone = addTaxpayer("Gone", true);
        MainWindow w;
        w.load();
        w.chooseTaxpayer(kept);
        {
            SqliteDatabase db(mainFile());
            db.exec("DELETE * FROM [Basic Taxpayer Data] WHERE [Taxpayer Number]=" + SqlText::whole(gone));
        }
        w.fullRefresh();
        QCOMPARE(w.activeName(), QString("Kept"));
        QVERIFY(enabled(w, "mnuReport"));

        w.chooseTaxpayer(addTaxpayer("Also gone", true));
        const int number = w.Taxpayer_Number;
        {
            SqliteDatabase db(mainFile());
            db.exec("DELETE * FROM [Basic Taxpayer Data] WHERE [Taxpayer Number]=" + SqlText::whole(number));
        }
        w.fullRefresh();
        QVERIFY(!enabled(w, "mnuReport") && !enabled(w, "mnuTransactions"));
        QVERIFY(!enabled(w, "mnuPayrollTaxLiabilityData"));
        QVERIFY(w.findChild<QLineEdit*>("Text1")->isHidden());
        QCOMPARE(w.Taxpayer_Number, number);
    }

    // Rates of a file of this test's own: the shipped ones and a second quarter of 2026 made up for the test (not a
    // published rate), as an installation newer than the database would know them.
    QString writeRatesFolder(QTemporaryDir& folder) {
        QFile shipped(TALVORO_SOURCE_DIR "/data/irs-rates.csv");
        if (!shipped.open(QIODevice::ReadOnly))
            return {};
        QFile rates(folder.filePath("irs-rates.csv"));
        rates.open(QIODevice::WriteOnly);
        rates.write(shipped.readAll());
        rates.write("2026-04-01,2026-06-30,0.06,0.06,0.05,0.08,0.035\n");
        rates.close();
        QFile::copy(TALVORO_SOURCE_DIR "/data/ftf-minimum.csv", folder.filePath("ftf-minimum.csv"));
        return folder.path();
    }

    static QString rateRows(const QString& file, const QString& table) {
        SqliteDatabase db(file, SqliteDatabase::Mode::ReadOnly);
        const RecordSet rows = db.queryNative("SELECT [Beginning Date],[Ending Date],[Interest Rate] FROM [" + table +
                                              "] WHERE [Beginning Date] >= '2026-01-01' ORDER BY [Beginning Date]");
        QStringList out;
        for (int r = 0; r < rows.size(); ++r)
            out << rows.value(r, 0).toString() + ' ' + rows.value(r, 1).toString() + ' ' + rows.value(r, 2).toString();
        return out.join(", ");
    }

    // A database of the first release, its rates to 3/31/2026 and its user's own rate for that quarter, opened by an
    // installation that knows one quarter more: it is upgraded, offered the quarter at start, and on Yes gets it in
    // every rate table, its user's rate left as it was; a case then runs to the new quarter's end.
    void aFirstReleaseDatabaseIsOfferedTheNewQuarter() {
        QTemporaryDir data;
        DataFiles::setFolder(writeRatesFolder(data));
        QFile::remove(mainFile());
        makeDatabase(mainFile(), testData("layout1/kelvadat.sql"));
        {
            SqliteDatabase db(mainFile(), SqliteDatabase::Mode::Foreign);
            db.exec("UPDATE [Interest Table] SET [Interest Rate] = 0.065 WHERE [Beginning Date] = #1/1/2026#");
        }
        QStringList asked;
        MessageBoxes::setAskHook([&asked](const QString& q) {
            asked << q;
            return true;
        });
        MainWindow w;
        w.load();
        MessageBoxes::setAskHook({});
        DataFiles::setFolder({});
        QCOMPARE(asked, QStringList{"The rate tables end on 03/31/2026; this installation knows the rates to "
                                    "06/30/2026. Add them?"});
        // The large corporate table, new in the upgrade, was filled from the installation's file already.
        QCOMPARE(messages, QStringList{"Added 1 period(s) from 04/01/2026 to 06/30/2026 to the underpayment rate "
                                       "table; 1 period(s) from 04/01/2026 to 06/30/2026 to the overpayment rate "
                                       "table."});
        QVERIFY(QFile::exists(dataDir.filePath("bak_v1_kelvadat.mdb")));
        QCOMPARE(rateRows(mainFile(), "Interest Table"), QString("2026-01-01 2026-03-31 0.065, "
                                                                 "2026-04-01 2026-06-30 0.06"));
        QCOMPARE(rateRows(mainFile(), "Large Corporate Underpayment Interest Table"),
                 QString("2026-01-01 2026-03-31 0.09, 2026-04-01 2026-06-30 0.08"));

        messages.clear();
        const int n = addTaxpayer("Into the new quarter", false);
        {
            SqliteDatabase db(mainFile());
            db.exec("UPDATE [Basic Taxpayer Data] SET [Original Due Date Of Return]=#4/15/2025#,"
                    "[End Date]=#6/30/2026# WHERE [Taxpayer Number]=" +
                    SqlText::whole(n));
        }
        w.fullRefresh();
        w.chooseTaxpayer(n);
        w.action("mnuInterestReport")->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        SqliteDatabase db(mainFile(), SqliteDatabase::Mode::ReadOnly);
        const RecordSet last = db.query("select * from [Event Table] WHERE [Date] = #4/1/2026#");
        QCOMPARE(last.size(), 1);
        QCOMPARE(last.value(0, "Date2").toDate(), QDate(2026, 6, 30));
        QCOMPARE(last.value(0, "Interest Rate").toDouble(), 0.06);
    }

    // The netting window of a client: refused for a return without a client code; for Henry's two returns (IRM
    // 20.2.14, figure 20.2.14-13) one pair, netted the IRS's way, and the other method chosen in its list changes the
    // benefit; the report shows it, and the claim text is saved where the user says.
    void nettingWindow() {
        {
            SqliteDatabase db(mainFile());
            db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
                    "[Initial Balance],[Corporate Taxpayer],[Client Code]) VALUES('Henry 2006',#3/15/2007#,"
                    "#8/3/2008#,53000,1,'HENRY'),('Henry 2007',#3/15/2008#,#8/30/2008#,-32000,1,'HENRY'),"
                    "('Alone',#3/15/2008#,#8/30/2008#,100,1,NULL)");
            db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],"
                    "[Payment Allocated To Tax],[Payment Allocated To Interest]) VALUES(1,'Payment',#8/3/2008#,"
                    "58617.29,53000,5617.29)");
        }
        MainWindow w;
        w.load();
        w.chooseTaxpayer(3);
        w.action("mnuNettingReport")->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith("Alone has no client code."), qPrintable(messages[0]));
        messages.clear();

        w.chooseTaxpayer(2);
        w.action("mnuNettingReport")->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        auto* netting = w.findChild<NettingDialog*>("frmNetting");
        QVERIFY(netting && netting->isVisible());
        QCOMPARE(netting->findChild<QLabel*>("lblBenefit")->text(), QString("Netting benefit: 255.51"));
        auto* pairs = netting->findChild<QTableWidget*>("lstPairs");
        QCOMPARE(pairs->rowCount(), 1);
        QCOMPARE(pairs->item(0, 2)->text(), QString("141"));
        auto* method = qobject_cast<QComboBox*>(pairs->cellWidget(0, 3));
        QVERIFY(method->itemText(0).startsWith("The IRS's way: overpayment at the underpayment rate"));
        QTest::keyClick(method, Qt::Key_Down); // activates the other method
        QCOMPARE(netting->findChild<QLabel*>("lblBenefit")->text(), QString("Netting benefit: 254.99"));
        method = qobject_cast<QComboBox*>(pairs->cellWidget(0, 3));
        QCOMPARE(method->currentIndex(), 1);

        netting->findChild<QPushButton*>("cmdReport")->click();
        QVERIFY(w.shownReport());
        QVERIFY(w.shownReport()->content().title.startsWith("Client HENRY"));
        w.shownReport()->close();

        const QString claim = dataDir.filePath("henry claim.txt");
        FileDialogs::setNextAnswer([claim](const QString&) { return claim; });
        netting->findChild<QPushButton*>("cmdClaim")->click();
        FileDialogs::setNextAnswer({});
        QFile text(claim);
        QVERIFY(text.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(text.readAll());
        QVERIFY(written.contains("Request for Net Interest Rate of Zero under Rev. Proc. 2000-26"));
        QVERIFY(written.contains("From 03/16/2008 to 08/03/2008 (141 days): 32,000.00"));
        QVERIFY(written.contains("Interest to be abated or credited: 254.99"));
        netting->close();
    }

    // An account transcript imported from the File menu: the preview shows every line before anything is written;
    // Cancel writes nothing; adding to a case of another period is refused in the preview; Import makes the case.
    void importAnAccountTranscript() {
        const QString file = dataDir.filePath("transcript.txt");
        {
            QFile t(file);
            QVERIFY(t.open(QIODevice::WriteOnly));
            t.write("Account Transcript\nFORM NUMBER: 1040   TAX PERIOD: Dec. 31, 2022\n"
                    "ACCRUED INTEREST: 0.00   AS OF: Jun. 30, 2024\n"
                    "RETURN DUE DATE OR RETURN RECEIVED DATE (WHICHEVER IS LATER): Apr. 18, 2023\nTRANSACTIONS\n"
                    "150   Tax return filed        05-08-2023    $10,000.00\n"
                    "806   Withholding             04-18-2023    -$6,000.00\n"
                    "999   Something new           05-08-2023    $0.00\n");
        }
        const int other = addTaxpayer("D'Angelo 2004", false);
        const auto countTaxpayers = [this] {
            SqliteDatabase db(mainFile());
            return db.query("SELECT COUNT(*) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
        };
        const int before = countTaxpayers();
        MainWindow w;
        w.load();
        w.chooseTaxpayer(other);
        for (const bool importIt : {false, true}) {
            FileDialogs::setNextAnswer([file](const QString&) { return file; });
            w.action("mnuImportTranscript")->trigger();
            FileDialogs::setNextAnswer({});
            auto* dialog = w.findChild<QDialog*>("frmTranscriptImport");
            QVERIFY(dialog && dialog->isVisible());
            auto* lines = dialog->findChild<QTableView*>("grdLines");
            QCOMPARE(lines->model()->rowCount(), 9); // every line of the file, the empty last one too
            QCOMPARE(lines->model()->index(7, 2).data().toString().left(9), QString("Left out:"));
            QVERIFY(dialog->findChild<QPlainTextEdit*>("txtNotes")->toPlainText().contains("999 (line 8)"));
            auto* add = dialog->findChild<QCheckBox*>("chkAddToSelected");
            add->setChecked(true); // the selected case's return was due in 2005
            auto* import = dialog->findChild<QPushButton*>("cmdImport");
            QVERIFY(!import->isEnabled());
            QVERIFY(dialog->findChild<QLabel*>("lblSummary")->text().contains("line 2"));
            add->setChecked(false);
            QVERIFY(import->isEnabled());
            dialog->findChild<QLineEdit*>("txtClientCode")->setText("O'NEIL");
            if (!importIt) {
                dialog->findChild<QPushButton*>("cmdCancel")->click();
                QCOMPARE(countTaxpayers(), before);
                QTest::qWait(0);
                continue;
            }
            import->click();
        }
        QCOMPARE(countTaxpayers(), before + 1);
        QVERIFY2(messages.size() == 1 && messages[0].startsWith("Imported as taxpayer"),
                 qPrintable(messages.join("|")));
        SqliteDatabase db(mainFile());
        const RecordSet made = db.query("SELECT [Client Code] AS c, [Initial Balance] AS b FROM [Basic Taxpayer Data] "
                                        "WHERE [Taxpayer Number] = (SELECT MAX([Taxpayer Number]) FROM [Basic Taxpayer "
                                        "Data])");
        QCOMPARE(made.value(0, "c").toString(), QString("O'NEIL"));
        QCOMPARE(made.value(0, "b").toDouble(), 4000.0); // the tax unpaid on the due date
    }

    // Check An IRS Notice: a date that is not one is a message naming it and nothing runs; Check shows the report,
    // its lines beside the notice's. Penalty Relief prints the checklist as ticked.
    void noticeCheckAndPenaltyRelief() {
        const int number = addTaxpayer("Kim O'Neil", false);
        {
            SqliteDatabase db(mainFile());
            db.exec("UPDATE [Basic Taxpayer Data] SET [Calculate Failure To Pay Penalty] = 1, [Assessment Date For "
                    "Failure To Pay Penalty] = #6/1/2005# WHERE [Taxpayer Number] = " +
                    QString::number(number));
        }
        MainWindow w;
        w.load();
        w.chooseTaxpayer(number);
        w.action("mnuNoticeCheck")->trigger();
        auto* notice = w.findChild<QDialog*>("frmNoticeCheck");
        QVERIFY(notice && notice->isVisible());
        notice->findChild<QLineEdit*>("txtNoticeDate")->setText("02/30/2006");
        notice->findChild<QLineEdit*>("txt_failure_to_pay")->setText("1,2,3");
        notice->findChild<QPushButton*>("cmdCheck")->click();
        QCOMPARE(messages, QStringList{"The notice date \"02/30/2006\" is not a date (mm/dd/yyyy)."});
        messages.clear();
        notice->findChild<QLineEdit*>("txtNoticeDate")->setText("12/31/2005");
        notice->findChild<QPushButton*>("cmdCheck")->click();
        QCOMPARE(messages, QStringList{"Failure-to-pay penalty: \"1,2,3\" is not an amount (such as 1,234.56)."});
        messages.clear();
        notice->findChild<QLineEdit*>("txt_failure_to_pay")->setText("450.00");
        notice->findChild<QPushButton*>("cmdCheck")->click();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QVERIFY(w.shownReport());
        QVERIFY(w.shownReport()->content().title.contains("Notice Check: CP14 of 12/31/2005"));
        const auto& lines = w.shownReport()->content().lines;
        QVERIFY(std::any_of(lines.begin(), lines.end(), [](const auto& l) {
            return !l.cells.isEmpty() && l.cells[0] == "Failure-to-pay penalty" && l.cells[1] == "450.00";
        }));
        w.shownReport()->close();
        notice->close();

        w.action("mnuPenaltyRelief")->trigger();
        auto* relief = w.findChild<QDialog*>("frmPenaltyRelief");
        QVERIFY(relief && relief->isVisible());
        relief->findChild<QListWidget*>("lstConditions")->item(1)->setCheckState(Qt::Checked);
        relief->findChild<QPushButton*>("cmdReport")->click();
        QVERIFY(w.shownReport());
        QVERIFY(w.shownReport()->content().title.contains("Penalty Relief"));
        QStringList notes;
        for (const auto& l : w.shownReport()->content().lines)
            if (l.note)
                notes << l.header;
        QVERIFY2(notes.filter("[X] The taxpayer has filed").size() == 1, qPrintable(notes.join("\n")));
        QVERIFY(notes.filter("[ ] ").size() == 3);
        relief->close();
    }

    // The System menu's update reads a file the user chooses: a file that is not a rates file is a message; No adds
    // nothing; with nothing missing it says so.
    void updateInterestRatesFromTheSystemMenu() {
        QTemporaryDir data;
        const QString folder = writeRatesFolder(data);
        MainWindow w;
        w.load();
        QVERIFY(messages.isEmpty());
        const QString before = rateRows(mainFile(), "Interest Table");

        QString proposed;
        FileDialogs::setNextAnswer([&proposed](const QString& p) {
            proposed = p;
            return QString(TALVORO_SOURCE_DIR "/README.md");
        });
        w.action("mnuUpdateRates")->trigger();
        QCOMPARE(proposed, QString(TALVORO_BIN_DIR "/irs-rates.csv"));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith("The rates file \"" TALVORO_SOURCE_DIR "/README.md\" lacks one of the columns"),
                 qPrintable(messages[0]));

        messages.clear();
        QStringList asked;
        MessageBoxes::setAskHook([&asked](const QString& q) {
            asked << q;
            return false;
        });
        FileDialogs::setNextAnswer([folder](const QString&) { return folder + "/irs-rates.csv"; });
        w.action("mnuUpdateRates")->trigger();
        QCOMPARE(asked, QStringList{"The rate tables end on 03/31/2026; the file irs-rates.csv knows the rates to "
                                    "06/30/2026. Add them?"});
        QVERIFY(messages.isEmpty());
        QCOMPARE(rateRows(mainFile(), "Interest Table"), before);

        FileDialogs::setNextAnswer([](const QString& p) { return p; });
        w.action("mnuUpdateRates")->trigger();
        QCOMPARE(messages, QStringList{"The rate tables hold every period this installation knows (to 03/31/2026)."});
        MessageBoxes::setAskHook({});

        // A cancelled dialog does nothing.
        messages.clear();
        FileDialogs::setNextAnswer([](const QString&) { return QString(); });
        w.action("mnuUpdateRates")->trigger();
        QVERIFY(messages.isEmpty());
    }

    // The summary of every taxpayer needs no selected taxpayer, shows one line each in the preview, and leaves
    // [Summary Table] as the last single run left it.
    void summaryOfAllTaxpayers() {
        const int first = addTaxpayer("O'Brien, Kelly", false);
        addTaxpayer("Second", false);
        MainWindow w;
        w.load();
        w.chooseTaxpayer(first);
        w.action("mnuSummaryReport")->trigger();
        const QString single = dumpTable(mainFile(), "Summary Table");
        QVERIFY(!single.isEmpty());

        MainWindow fresh;
        fresh.load();
        QVERIFY(!enabled(fresh, "mnuReport"));
        QVERIFY(enabled(fresh, "mnuAllTaxpayers"));
        fresh.action("mnuAllTaxpayers")->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QPointer<ReportPreview> preview = fresh.shownReport();
        QVERIFY(preview && preview->isVisible());
        QCOMPARE(preview->windowTitle(), QString("Summary Of All Taxpayers"));
        QCOMPARE(preview->content().detailCount(), 2);
        QCOMPARE(preview->content().lines[0].cells[1], QString("O'Brien, Kelly"));
        QCOMPARE(dumpTable(mainFile(), "Summary Table"), single);
        // Again: the new preview replaces the old one.
        fresh.action("mnuAllTaxpayers")->trigger();
        QTRY_VERIFY(!preview || !preview->isVisible());
        QVERIFY(fresh.shownReport() != preview);
        fresh.shownReport()->close();

        // A database whose taxpayers cannot be read: a message, and no progress bar left behind.
        {
            SqliteDatabase db(mainFile(), SqliteDatabase::Mode::Foreign);
            db.execNative("ALTER TABLE [Basic Taxpayer Data] RENAME TO [Gone]");
        }
        messages.clear();
        fresh.action("mnuAllTaxpayers")->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY(fresh.findChild<QProgressBar*>("ProgressBar1")->isHidden());
    }

    // The estimated-tax penalty from the menus: its form from Transactions, its report from Reports, shown as the
    // other reports are, with a group for each installment and the total.
    void estimatedTaxFromTheMenus() {
        const int n = addTaxpayer("Ben Brown", false);
        {
            SqliteDatabase db(mainFile());
            db.exec("INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],"
                    "[Prior Year Tax],[Prior Year Full Year],[Withholding]) VALUES(" +
                    SqlText::whole(n) + ",#12/31/2005#,7031,6116,1,3228)");
            for (const char* date : {"#9/2/2005#", "#1/12/2006#"})
                db.exec("INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) "
                        "VALUES(" +
                        SqlText::whole(n) + "," + date + ",1000)");
        }
        MainWindow w;
        w.load();
        QVERIFY(!enabled(w, "mnuTransactions"));
        w.chooseTaxpayer(n);
        QVERIFY(enabled(w, "mnuEstimatedTax") && enabled(w, "mnuEstimatedTaxReport"));
        w.action("mnuEstimatedTaxReport")->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QVERIFY(w.timer("Timer10")->isActive());
        w.timer("Timer10")->start(0);
        QTRY_VERIFY(w.shownReport());
        const ReportContent& c = w.shownReport()->content();
        QCOMPARE(w.shownReport()->windowTitle(), QString("Estimated Tax Penalty"));
        QCOMPARE(c.title, QString("Ben Brown\nEstimated Tax Penalty for the tax year ending 12/31/2005\n"
                                  "Penalty figured to 04/15/2006, rules of Form 2210"));
        QCOMPARE(c.detailCount(), 7);
        QCOMPARE(c.lines[0].header, QString("Installment 1 due 04/15/2005: required 1,529.00, paid by the due date "
                                            "807.00, underpayment 722.00"));
        QCOMPARE(c.totals.last(), QString("68.51"));
        w.shownReport()->close();

        w.action("mnuEstimatedTax")->trigger();
        auto* form = w.findChild<EstimatedTaxEditor*>();
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->listedPayments().size(), 2);
        form->close();
    }

    void errorReportText() {
        QCOMPARE(ProgramVersion({3, 0, 5}).text(), QString("Version 3.05"));
        const QString dashes(134, '-');
        const QString alone =
            ::errorReportText("Norvane Talvoro", {3, 0, 5}, "frmMain.Form_Load", "", "", {"Disk full", 61});
        QCOMPARE(alone, "ERROR REPORT\r\n\r\nNorvane Talvoro  Version 3.05\r\n" + dashes +
                            "\r\n\r\nAn error occurred within:\r\nfrmMain.Form_Load\r\n\r\nDisk full (61)\r\n\r\n");
        const QString trail = ::errorReportText("Norvane Talvoro", {3, 0, 5}, "frmMain.mnuAbout_Click",
                                                "frmMain.Form_Load", "Module1.Main", {"Disk full", 61});
        QVERIFY(trail.endsWith("Disk full (61)\r\n\r\nPrevious sections called:\r\nfrmMain.Form_Load\r\nModule1.Main"
                               "\r\n\r\n" +
                               dashes + "\r\n"));
    }

    // A failure escaping a handler: the backups stop, the error state is stored, the reset item shows, the
    // report names the section; the window goes on working.
    void aFailureReachesTheGlobalHandler() {
        MainWindow w;
        w.load();
        QVERIFY(w.backups().isActive());
        SectionTrail::enter("frmMain.Form_Load");
        ErrorHandler::guard("frmMain.mnuInterestReport_Click", [] { throw std::runtime_error("Overflow"); });
        QVERIFY(!w.backups().isActive());
        QCOMPARE(Settings::errorState(), QString("True"));
        QVERIFY(w.action("mnuErrorState")->isVisible());
        ErrorDialog* report = ErrorHandler::lastDialog();
        QVERIFY(report && report->isVisible());
        QVERIFY(report->text().contains("An error occurred within:\nfrmMain.mnuInterestReport_Click"));
        QVERIFY(report->text().contains("Overflow (2)"));
        QVERIFY(report->text().contains("Previous sections called:\nfrmMain.Form_Load"));
        // Shown: the failure in words; the report with its section names waits behind Details, with Copy.
        QCOMPARE(report->summary(), QString("Overflow"));
        QVERIFY(!report->detailsShown());
        report->findChild<QPushButton*>("cmdDetails")->click();
        QVERIFY(report->detailsShown());
        report->findChild<QPushButton*>("cmdCopy")->click();
        QCOMPARE(QApplication::clipboard()->text(), report->text());
        report->close();

        // Reset: backups run again and the state is stored as "False".
        ErrorResetWindow reset([&w] { w.backups().start(); });
        Settings::setErrorState(true);
        QTimer::singleShot(0, &reset, [&reset] { reset.findChild<QPushButton*>("cmdResetError")->click(); });
        reset.exec();
        QCOMPARE(Settings::errorState(), QString("False"));
        QVERIFY(w.backups().isActive());
    }

    void aRunFromTheMenuArmsItsReportTimer() {
        const int n = addTaxpayer("Runner", false);
        MainWindow w;
        w.load();
        w.chooseTaxpayer(n);
        w.action("mnuInterestReport")->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QVERIFY(w.timer("Timer7")->isActive());
        QCOMPARE(w.timer("Timer7")->interval(), 500);
        SqliteDatabase db(mainFile(), SqliteDatabase::Mode::ReadOnly);
        QCOMPARE(db.query("select * from [Event Table]").size(), 4);

        // The timer shows the report: its rows read afresh, titled for the taxpayer, the progress bar hidden.
        w.timer("Timer7")->start(0);
        QTRY_VERIFY(w.shownReport());
        QVERIFY(!w.timer("Timer7")->isActive());
        ReportPreview* preview = w.shownReport();
        QVERIFY(preview && preview->isVisible());
        QCOMPARE(preview->windowTitle(), QString("Penalty & Interest Report"));
        QCOMPARE(preview->content().detailCount(), 4);
        QVERIFY(preview->content().title.startsWith("Runner\nPenalty & Interest Report for the return "
                                                    "originally due 04/15/2005\nReport calculated to 12/31/2005"));
        QVERIFY(w.findChild<QProgressBar*>("ProgressBar1")->isHidden());
        QCOMPARE(preview->pos(), QPoint(0, 0));

        // The preview's export buttons ask for a file through the program's file dialog, add the suffix, and write
        // the report shown; a name of the program's own files is refused with a message.
        const QString exported = QDir(newpath()).filePath("exported");
        QString proposed;
        FileDialogs::setNextAnswer([exported, &proposed](const QString& at) {
            proposed = at;
            return exported;
        });
        preview->findChild<QAction*>("actExportCsv")->trigger();
        // Proposed under the taxpayer's name and the report's, in the documents folder.
        QCOMPARE(proposed, QDir(FileDialogs::documentsFolder()).filePath("Runner - Penalty & Interest Report.csv"));
        QFile csv(exported + ".csv");
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), reportCsv(preview->content()).toUtf8());
        preview->findChild<QAction*>("actExportPdf")->trigger();
        QVERIFY(QFileInfo(exported + ".pdf").size() > 1000);
        const QString link = QDir(newpath()).filePath("link.csv");
        QVERIFY(QFile::link(mainFile(), link));
        FileDialogs::setNextAnswer([link](const QString&) { return link; });
        preview->findChild<QAction*>("actExportCsv")->trigger();
        FileDialogs::setNextAnswer({});
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("is never overwritten"), qPrintable(messages[0]));
        messages.clear();
        QCOMPARE(SqliteDatabase(mainFile(), SqliteDatabase::Mode::ReadOnly).query("select * from [Event Table]").size(),
                 4);
        // The desktop's keys: Ctrl+P prints, Ctrl+C copies the rows for a spreadsheet.
        QAction* print = preview->findChild<QAction*>("actPrint");
        QVERIFY(print);
        QCOMPARE(print->shortcut(), QKeySequence(QKeySequence::Print));
        QApplication::clipboard()->clear();
        QTest::keyClick(preview, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), reportTabSeparated(preview->content()));
        QCOMPARE(QApplication::clipboard()->text().count('\n'), 5);
        preview->close();

        // The payment report: no run, its timer as short as the others.
        w.action("mnuPaymentReport")->trigger();
        QCOMPARE(w.timer("Timer4")->interval(), 500);
        w.timer("Timer4")->start(0);
        QTRY_VERIFY(w.shownReport() && w.shownReport()->windowTitle() == "Payment Report");
        w.shownReport()->close();

        // A taxpayer with a missing date: one message, no timer.
        {
            SqliteDatabase rw(mainFile());
            rw.exec("UPDATE [Basic Taxpayer Data] SET [End Date]=NULL");
        }
        w.chooseTaxpayer(n);
        w.timer("Timer7")->stop();
        w.action("mnuSummaryReport")->trigger();
        QCOMPARE(messages, QStringList{"The 'End Date' is missing."});
        QVERIFY(!w.timer("Timer5")->isActive());
    }

    // The report a timer shows is the one of the run that armed it, whatever happens before it fires: another run
    // rewriting [Event Table], or the taxpayer editor opened meanwhile. A new run of a report replaces its preview.
    void aReportShowsTheRunThatArmedIt() {
        const int n = addTaxpayer("Shown", false);
        {
            SqliteDatabase db(mainFile());
            db.exec("UPDATE [Basic Taxpayer Data] SET [Date Return Filed]=#4/15/2005#");
        }
        MainWindow w;
        w.load();
        w.chooseTaxpayer(n);
        w.action("mnuInterestReport")->trigger();
        w.action("mnuPenaltyReport")->trigger(); // rewrites [Event Table] before Timer7 fires
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        w.timer("Timer1")->stop();             // fired below, after Timer7
        w.action("mnuNewTaxpayer")->trigger(); // the editor clears the main window's record set
        QVERIFY(w.openEditorWindow());
        QTRY_VERIFY(w.shownReport() && w.shownReport()->objectName() == "DataReport6");
        QCOMPARE(w.shownReport()->content().detailCount(), 4); // the initial balance and three interest rows
        QCOMPARE(w.shownReport()->content().lines[1].cells[2], QString("Interest"));
        w.timer("Timer1")->start(0);
        QTRY_VERIFY(w.shownReport()->objectName() == "DataReport1");
        QCOMPARE(w.shownReport()->content().detailCount(), 1);
        QVERIFY(!ErrorHandler::lastDialog() || !ErrorHandler::lastDialog()->isVisible());
        QCOMPARE(Settings::errorState(), QString("False"));
        w.openEditorWindow()->close();
        QTRY_VERIFY(w.isEnabled());

        w.chooseTaxpayer(n);
        for (int i = 0; i < 2; ++i) {
            w.action("mnuSummaryReport")->trigger();
            QTRY_VERIFY(w.shownReport() && w.shownReport()->objectName() == "DataReport4" &&
                        w.shownReport()->isVisible());
            QTRY_COMPARE(w.findChildren<ReportPreview*>("DataReport4").size(), 1);
        }
        for (auto* preview : w.findChildren<ReportPreview*>())
            preview->close();
    }

    // Closing the main window while an editor holds a typed record asks the editor; No keeps everything open.
    // The program ends with the main window even when an error report is open.
    void closingTheMainWindow() {
        const int n = addTaxpayer("Closing", false);
        MainWindow w;
        w.load();
        w.show();
        w.chooseTaxpayer(n);
        QSignalSpy closing(&w, &MainWindow::closing);
        w.action("mnuEnterPayments")->trigger();
        RecordEditor* e = w.openEditorWindow();
        QVERIFY(e);
        QTest::mouseClick(e->findChild<QPushButton*>("cmdAdd"), Qt::LeftButton);
        MessageBoxes::setAskHook([](const QString&) { return false; });
        QVERIFY(!w.close());
        QVERIFY(w.isVisible() && e->isVisible() && e->adding());
        QCOMPARE(closing.count(), 0);
        MessageBoxes::setAskHook([](const QString&) { return true; });
        QVERIFY(w.close());
        QCOMPARE(closing.count(), 1);
        MessageBoxes::setAskHook({});
        SqliteDatabase db(mainFile(), SqliteDatabase::Mode::ReadOnly);
        QCOMPARE(db.query("select * from [Payment Table]").size(), 0);

        ErrorHandler::guard("frmMain.mnuAbout_Click", [] { throw std::runtime_error("Overflow"); });
        QVERIFY(!ErrorHandler::lastDialog()->testAttribute(Qt::WA_QuitOnClose));
        ErrorHandler::lastDialog()->close();
    }

    // The window as the user meets it: menu titles stay off without a taxpayer when the window is enabled again
    // after a dialog; a long name shows its beginning.
    void menuTitlesAndLongNames() {
        const QString longName =
            "Abernathy-Castellanos Family Trust, 2019 Form 1041, amended return " + QString(60, 'x');
        const int n = addTaxpayer(longName, false);
        MainWindow w;
        w.load();
        w.show();
        w.setEnabled(false);
        w.setEnabled(true);
        QVERIFY(!enabled(w, "mnuReport") && !enabled(w, "mnuTransactions"));
        w.chooseTaxpayer(n);
        QVERIFY(enabled(w, "mnuReport"));
        auto* name = w.findChild<QLineEdit*>("Text1");
        QCOMPARE(name->text(), longName);
        QCOMPARE(name->cursorPosition(), 0);

        // No two items of a menu (or of the menu bar) share a mnemonic.
        std::vector<const QWidget*> menus{w.menuBar()};
        for (const auto* menu : w.findChildren<QMenu*>())
            menus.push_back(menu);
        for (const QWidget* menu : menus) {
            QStringList seen;
            for (const QAction* a : menu->actions()) {
                const QString text = a->text();
                QString key;
                for (qsizetype at = 0; at + 1 < text.size() && key.isEmpty(); ++at)
                    if (text[at] == '&' && text[at + 1] != '&')
                        key = text.mid(at + 1, 1).toLower();
                    else if (text[at] == '&')
                        ++at; // "&&" is an ampersand shown
                if (key.isEmpty())
                    continue;
                QVERIFY2(!seen.contains(key), qPrintable(menu->objectName() + ": " + text + " | " + seen.join(",")));
                seen << key;
            }
        }
    }

    // A data directory changed in a session takes effect at the next start: the editors, the balances and the
    // transfers go on using the database opened at start.
    void aNewDataDirectoryWaitsForTheNextStart() {
        const int n = addTaxpayer("Staying", false);
        MainWindow w;
        w.load();
        w.chooseTaxpayer(n);
        QTemporaryDir elsewhere;
        SetDriveDialog dialog;
        dialog.saveChange(elsewhere.path());
        QCOMPARE(w.dataFolder(), newpath());
        w.action("mnuEnterPayments")->trigger();
        RecordEditor* e = w.openEditorWindow();
        QVERIFY(e);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QTest::mouseClick(e->findChild<QPushButton*>("cmdAdd"), Qt::LeftButton);
        QTest::keyClicks(e->field(1), "07/01/2005");
        QTest::mouseClick(e->findChild<QPushButton*>("cmdUpdate"), Qt::LeftButton);
        e->close();
        SqliteDatabase db(mainFile(), SqliteDatabase::Mode::ReadOnly);
        QCOMPARE(db.query("select * from [Payment Table]").size(), 1);
        Settings::setNewpath(newpath());
    }

    // Only "True" is the error state: an empty or any other value runs the backups, never silently stopping them.
    // An empty "Newpath", or one naming a file, gets its first-start value again.
    void settingsOutOfTheOrdinary() {
        for (const char* value : {"", "false", "no", "Maybe"}) {
            QSettings raw(QSettings::UserScope, "Vorlent", "Vorlent");
            raw.setValue("Install/ErrorState", value);
            raw.sync();
            MainWindow w;
            w.load();
            QVERIFY2(w.backups().isActive(), value);
            QVERIFY(!w.action("mnuErrorState")->isVisible());
        }
        QSettings raw(QSettings::UserScope, "Vorlent", "Vorlent");
        raw.setValue("Install/ErrorState", "TRUE");
        raw.sync();
        MainWindow stopped;
        stopped.load();
        QVERIFY(!stopped.backups().isActive());
        QVERIFY(stopped.action("mnuErrorState")->isVisible());

        for (const QString& value : {QString(), mainFile()}) {
            Settings::setNewpath(value);
            StartUp::settingsAndDatabaseCheck(dataDir.path());
            QCOMPARE(Settings::newpath(), newpath());
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        }
        // A folder that does not exist is kept; the main window says so (below), no box before it.
        Settings::setNewpath(dataDir.path() + "/gone/");
        StartUp::settingsAndDatabaseCheck(dataDir.path());
        QCOMPARE(Settings::newpath(), dataDir.path() + "/gone/");
        QVERIFY(messages.isEmpty());
        Settings::setNewpath(newpath());
    }

    // A data folder without the database at start: the window names the folder and the settings file and offers
    // Choose Folder…; the commands that need the database are off until a folder with it is chosen, and no command
    // raises an error report meanwhile.
    void aMissingDataFolderAtStart() {
        const int n = addTaxpayer("Found Again", false);
        Settings::setErrorState(false);
        Settings::setNewpath(dataDir.path() + "/gone/");
        MainWindow w;
        w.load();
        auto* banner = w.findChild<QFrame*>("frmMissingFolder");
        QVERIFY(banner && !banner->isHidden());
        const QString said = w.findChild<QLabel*>("lblMissingFolder")->text();
        QVERIFY2(said.contains(dataDir.path() + "/gone/") && said.contains(Settings::fileName()), qPrintable(said));
        QVERIFY(!said.contains("Windows"));
        QVERIFY(!enabled(w, "mnuSelect") && !enabled(w, "mnuInterestRatefrm") && !enabled(w, "mnuUpdateRates"));
        QVERIFY(enabled(w, "mnuSetDrive") && enabled(w, "mnuContents") && enabled(w, "mnuQuit"));
        QVERIFY(!ErrorHandler::lastDialog() || !ErrorHandler::lastDialog()->isVisible());
        // A folder without the database is refused; the data folder is taken at once.
        QTemporaryDir empty;
        FileDialogs::setNextAnswer([&empty](const QString&) { return empty.path(); });
        w.findChild<QPushButton*>("cmdChooseFolder")->click();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains("holds no kelvadat.mdb"));
        QVERIFY(!banner->isHidden());
        FileDialogs::setNextAnswer([this](const QString&) { return dataDir.path(); });
        w.findChild<QPushButton*>("cmdChooseFolder")->click();
        FileDialogs::setNextAnswer({});
        QVERIFY(banner->isHidden());
        QCOMPARE(Settings::newpath(), newpath());
        QCOMPARE(w.dataFolder(), newpath());
        QVERIFY(enabled(w, "mnuSelect"));
        QVERIFY(w.backups().isActive());
        w.chooseTaxpayer(n);
        QCOMPARE(w.activeName(), QString("Found Again"));
    }

    // A payment report whose total would overflow says so, as a run does; it is no failure of the program.
    void aPaymentReportThatOverflowsSaysSo() {
        const int n = addTaxpayer("Huge", false);
        {
            SqliteDatabase db(mainFile());
            db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment]) "
                    "VALUES(" +
                    SqlText::whole(n) + ",'Payment',#5/1/2005#,9.3E+16)");
        }
        MainWindow w;
        w.load();
        w.chooseTaxpayer(n);
        w.action("mnuPaymentReport")->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("Overflow: an amount in the calculation is too large."));
        QVERIFY(!w.timer("Timer4")->isActive());
        QCOMPARE(Settings::errorState(), QString("False"));
    }

    void splashSwitchTwice() {
        MainWindow w;
        Settings::setShowSplash(true);
        w.toggleSplash();
        QCOMPARE(Settings::showSplash(), QString("False"));
        w.toggleSplash();
        QCOMPARE(Settings::showSplash(), QString("True"));
        QSettings raw(QSettings::UserScope, "Vorlent", "Vorlent");
        raw.setValue("Install/ShowSplash", "Maybe");
        raw.sync();
        w.toggleSplash();
        QCOMPARE(Settings::showSplash(), QString("Maybe"));
    }

    void setDriveAddsTheSeparatorAndWarns() {
        SetDriveDialog dialog;
        dialog.show();
        auto* next = dialog.findChild<QLabel*>("lblNextStart");
        QVERIFY(next->isHidden());
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY(!next->isHidden());
        QCOMPARE(next->text(), QString("The new location is used from the next start."));
        QCOMPARE(dialog.saveChange(dataDir.path()), QString());
        QCOMPARE(Settings::newpath(), newpath());
        const QString warning = dialog.saveChange(dataDir.path() + "/nothing here");
        QVERIFY(warning.contains("does not hold the main data file"));
        QCOMPARE(Settings::newpath(), dataDir.path() + "/nothing here/");
        QVERIFY(StartUp::missingDatabaseMessage("/x/").startsWith("The data folder /x/ holds no kelvadat.mdb"));
    }

    // Installed where the user cannot write: the first start gives the user a data folder of their own.
    void firstStartOfAnInstalledProgram() {
        QCOMPARE(StartUp::firstDataFolder(dataDir.path()), dataDir.path());
        QTemporaryDir installed;
        QVERIFY(QFile::copy(TALVORO_BIN_DIR "/kelvadat.mdb", installed.filePath("kelvadat.mdb")));
        QDir().mkpath(installed.filePath("samples"));
        QVERIFY(QFile::copy(TALVORO_BIN_DIR "/samples/payroll-sample.mdb",
                            installed.filePath("samples/payroll-sample.mdb")));
        QStandardPaths::setTestModeEnabled(true);
        const QString own = StartUp::firstDataFolder(installed.path(), false);
        QVERIFY(own != installed.path());
        QVERIFY(QFileInfo(own + "/kelvadat.mdb").isWritable());
        QVERIFY(QFile::exists(own + "/samples/payroll-sample.mdb"));
    }

    // A second copy says why it ends (in a box, and on standard error) instead of vanishing.
    void aSecondCopySaysSo() {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(settingsDir.path()));
        SingleCopy first;
        QVERIFY(first.acquire());
        QProcess second;
        second.start(TALVORO_BIN_DIR "/talvoro", {});
        QVERIFY(second.waitForStarted(10000));
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += second.readAllStandardError()).contains("Talvoro is already running."),
                                 10000);
        second.kill(); // its message box waits for an OK nobody gives here
        second.waitForFinished(10000);
    }

    void documentsShowInsideTheProgram() {
        InstructionsWindow manual(TALVORO_BIN_DIR "/ipmanual.pdf");
        QVERIFY(manual.pageCount() > 5);
        InstructionsWindow missing(dataDir.filePath("p15pg21-22.pdf"));
        QCOMPARE(missing.pageCount(), 0);
        HelpWindow help(TALVORO_BIN_DIR "/Brenhal/index.html");
        auto* browser = help.findChild<QTextBrowser*>("HelpBrowser");
        QVERIFY(browser->toPlainText().contains("Worked example: an income-tax return filed late"));
    }

    // A newcomer's first session: retrieve the income-tax sample, run every report it has, export one as PDF; then
    // the payroll sample's deposit report.
    void samplesThroughTheMenus() {
        MainWindow w;
        w.load();
        auto retrieve = [&](const char* sample) {
            FileDialogs::setNextAnswer(
                [sample](const QString&) { return QStringLiteral(TALVORO_BIN_DIR "/samples/") + sample; });
            w.action("mnuRetrieve")->trigger();
            auto* dialog = w.findChild<RetrieveTaxpayerDialog*>();
            QVERIFY(dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
            dialog->close();
            QTRY_VERIFY(w.isEnabled());
            QTRY_VERIFY(!w.findChild<RetrieveTaxpayerDialog*>());
        };
        retrieve("income-tax-sample.mdb");
        retrieve("payroll-sample.mdb");
        FileDialogs::setNextAnswer({});
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));

        auto choose = [&](const QString& name) {
            w.selectExistingTaxpayer();
            auto* list = w.findChild<QTreeWidget*>("DataList1");
            const auto items = list->findItems(name, Qt::MatchExactly, 1);
            QCOMPARE(items.size(), 1);
            w.chooseTaxpayer(items[0]->data(0, Qt::UserRole).toInt());
        };
        auto report = [&](const char* command, const char* timer) {
            w.action(command)->trigger();
            w.timer(timer)->start(0);
            QTRY_VERIFY_WITH_TIMEOUT(w.shownReport() && w.shownReport()->isVisible(), 5000);
        };
        choose("Sample - 2004 Form 1040 filed late");
        for (const auto& [command, timer] :
             {std::pair{"mnuInterestReport", "Timer7"}, std::pair{"mnuPenaltyReport", "Timer1"},
              std::pair{"mnuSummaryReport", "Timer5"}, std::pair{"mnuPaymentReport", "Timer4"}}) {
            report(command, timer);
            ReportPreview* preview = w.shownReport();
            QVERIFY(preview);
            QVERIFY2(preview->content().detailCount() > 0, command);
            if (QLatin1String(command) == QLatin1String("mnuSummaryReport")) {
                QCOMPARE(preview->content().lines.front().cells.last(), QString("10,998.72"));
                const QString pdf = dataDir.filePath("summary.pdf");
                preview->exportPdf(pdf);
                QVERIFY(QFileInfo(pdf).size() > 1000);
            }
            preview->close();
            QTRY_VERIFY(!w.shownReport());
        }
        choose("Sample - Form 941, 1st quarter 2005");
        QVERIFY(w.action("mnuPRTaxPenaltyRpt")->isEnabled());
        report("mnuPRTaxPenaltyRpt", "Timer6");
        ReportPreview* deposit = w.shownReport();
        QVERIFY(deposit);
        QCOMPARE(deposit->content().totals.last(), QString("470.00"));
        deposit->close();
        QCOMPARE(messages.size(), 1); // the deposit run's warning that the payments fall short of the deposits
        QVERIFY(messages[0].startsWith("To calculate the payroll tax deposit penalty correctly"));
    }

    // Pictures of the windows as a user sees them, written when TALVORO_SCREENSHOTS names a folder.
    void screenshots() {
        const QString folder = qEnvironmentVariable("TALVORO_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("TALVORO_SCREENSHOTS is not set");
        addTaxpayer("O'Brien & Sons", false);
        const int payroll = addTaxpayer("Payroll Co, 1st quarter 2005", true);
        MainWindow w;
        w.load();
        w.show();
        w.chooseTaxpayer(payroll);
        QVERIFY(w.grab().save(folder + "/main-window.png"));
        for (const char* menu : {"mnuReport", "mnuSelect", "mnuHelp"}) {
            auto* m = w.findChild<QMenu*>(menu);
            m->popup(w.mapToGlobal(QPoint(0, 0)));
            QVERIFY(m->grab().save(folder + "/menu-" + menu + ".png"));
            m->hide();
        }
        w.selectExistingTaxpayer();
        QVERIFY(w.grab().save(folder + "/taxpayer-list.png"));
        SectionTrail::enter("frmMain.Form_Load");
        ErrorHandler::guard("frmMain.mnuSummaryReport_Click", [] { throw std::runtime_error("Overflow"); });
        QVERIFY(ErrorHandler::lastDialog()->grab().save(folder + "/error-report.png"));
        w.action("mnuPenaltyReport")->setEnabled(true);
        {
            SqliteDatabase rw(mainFile());
            rw.exec(
                "UPDATE [Basic Taxpayer Data] SET [Date Return Filed]=#6/20/2005#,[Calculate Failure To Pay Penalty]=1,"
                "[Calculate Failure To File Penalty]=1,[Extended Due Date Of Return]=#4/15/2005#");
        }
        w.chooseTaxpayer(payroll - 1);
        w.action("mnuPenaltyReport")->trigger();
        w.timer("Timer1")->start(0);
        QTRY_VERIFY(w.shownReport());
        QTest::qWait(200);
        QVERIFY(w.shownReport()->grab().save(folder + "/report-preview.png"));
        w.shownReport()->close();
        AboutWindow about;
        about.show();
        QVERIFY(about.grab().save(folder + "/about.png"));
        SplashWindow splash;
        splash.show();
        QVERIFY(splash.grab().save(folder + "/splash.png"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
