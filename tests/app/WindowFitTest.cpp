#include "Editors.h"
#include "ErrorDialog.h"
#include "ErrorResetWindow.h"
#include "InfoWindows.h"
#include "MainWindow.h"
#include "MessageBoxes.h"
#include "NettingDialog.h"
#include "NoticeDialog.h"
#include "ReliefDialog.h"
#include "ReportPreview.h"
#include "ScreenFit.h"
#include "Settings.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "TaxpayerTransfer.h"
#include "TranscriptDialog.h"
#include "TransferDialogs.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// Every window of the program opened on a 1280 x 900 screen at twice the normal size (640 x 450 to the program):
// the window and each of its buttons lie inside the screen, and a button outside a scrolled form inside its window.
class WindowFitTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;
    int taxpayer = 0;

    QString newpath() const { return dataDir.path() + QLatin1Char('/'); }
    EditorContext context() const {
        return {newpath(), taxpayer, QStringLiteral("Payroll Co, 1st quarter 2005"), true};
    }

    static bool scrolled(const QWidget* w) {
        for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (qobject_cast<const QScrollArea*>(p))
                return true;
        return false;
    }
    static void fits(QWidget* w) {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QRect screen = w->screen()->availableGeometry();
        const QString name = w->objectName() + " (" + w->metaObject()->className() + ")";
        QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(QStringLiteral("%1: %2,%3 %4x%5 on %6x%7")
                                                                     .arg(name)
                                                                     .arg(w->frameGeometry().x())
                                                                     .arg(w->frameGeometry().y())
                                                                     .arg(w->frameGeometry().width())
                                                                     .arg(w->frameGeometry().height())
                                                                     .arg(screen.width())
                                                                     .arg(screen.height())));
        // A button of a scrolled form is reached by scrolling; every other one is in sight.
        QList<const QWidget*> inSight;
        for (const QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->isVisibleTo(w) && b->window() == w && !scrolled(b))
                inSight << b;
        for (const QScrollArea* a : w->findChildren<QScrollArea*>())
            if (a->isVisibleTo(w) && a->window() == w)
                inSight << a;
        for (const QWidget* b : inSight) {
            const QRect r(b->mapToGlobal(QPoint(0, 0)), b->size());
            const auto* button = qobject_cast<const QAbstractButton*>(b);
            const QString which = name + ": " + b->objectName() + " \"" + (button ? button->text() : QString()) + "\"";
            QVERIFY2(screen.contains(r) && w->geometry().contains(r), qPrintable(which));
        }
    }

private slots:
    void initTestCase() {
        QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(640, 450));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        MessageBoxes::setHook([](const QString& text) { qWarning() << text; });
        MessageBoxes::setAskHook([](const QString&) { return true; });
        ScreenFit::install();
        const QString main = dataDir.filePath("kelvadat.mdb");
        QVERIFY(QFile::copy(TALVORO_BIN_DIR "/kelvadat.mdb", main));
        QVERIFY(QFile::copy(TALVORO_BIN_DIR "/kelvaSav.mdb", dataDir.filePath("kelvaSav.mdb")));
        for (const char* f : {"kelvadat.mdb", "kelvaSav.mdb"})
            QFile::setPermissions(dataDir.filePath(f), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        Settings::setNewpath(newpath());
        Settings::setErrorState(false);
        Settings::setShowSplash(false);
        SqliteDatabase db(main);
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
                "[Initial Balance],[Payroll Tax Situation],[Start Date]) VALUES('Payroll Co, 1st quarter 2005',"
                "#4/15/2005#,#12/31/2005#,10000,1,#1/1/2005#)");
        taxpayer = db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
        db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],"
                "[Deposit Due Date],[Assessment Date],[Required Deposit]) VALUES(" +
                SqlText::whole(taxpayer) + ",'Payroll Co, 1st quarter 2005','Liability',#2/15/2005#,#6/1/2005#,19400)");
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
                "[Amount Of Payment],[Payment Allocated To Tax],[Payment Allocated To Penalties],"
                "[Payment Allocated To Interest],[Due Date Of Liability]) VALUES(" +
                SqlText::whole(taxpayer) +
                ",'Payroll Co, 1st quarter 2005','Payment',#2/25/2005#,9400,9400,0,0,#2/15/2005#)");
    }

    void mainWindow() {
        MainWindow w;
        w.load();
        fits(&w);
        w.chooseTaxpayer(taxpayer);
        fits(&w);
    }

    void everyEditor() {
        // Each closes itself away, as it does in the program.
        const std::vector<std::function<RecordEditor*()>> editors = {
            [this] { return new TaxpayerEditor(context()); },
            [this] { return new PaymentEditor(context()); },
            [this] { return new ChargesEditor(context()); },
            [this] { return new DepositsEditor(context()); },
            [this] { return new RateEditor(RateKinds::underpayment(), context()); },
            [this] { return new RateEditor(RateKinds::overpayment(), context()); },
            [this] { return new RateEditor(RateKinds::largeCorporate(), context()); },
            [this] { return new EstimatedTaxEditor(context()); },
            [this] { return new RefundsEditor(context()); },
            [this] { return new RateEditor(RateKinds::largeCorporateOverpayment(), context()); },
        };
        for (const auto& make : editors) {
            QPointer<RecordEditor> e = make();
            e->setAttribute(Qt::WA_DeleteOnClose);
            fits(e);
            e->close();
            QTRY_VERIFY(!e);
        }
    }

    // The payment form's balances are shown whole ("9,400.00", never "9.400.00" with a digit cut).
    void thePaymentBalancesAreNotClipped() {
        QPointer<PaymentEditor> e = new PaymentEditor(context());
        e->setAttribute(Qt::WA_DeleteOnClose);
        fits(e);
        e->calculateBalances();
        QVERIFY(e->balancesShown());
        for (int index : {2, 3, 4}) {
            auto* label = e->findChild<QLabel*>(QStringLiteral("Label%1").arg(index));
            QVERIFY(label && !label->text().isEmpty());
            QVERIFY2(label->contentsRect().width() >= label->fontMetrics().horizontalAdvance(label->text()),
                     qPrintable(label->text()));
        }
        e->close();
    }

    void theReportPreview() {
        const auto& d = ReportDefinition::penaltyAndInterest();
        QStringList fields;
        for (const auto& c : d.columns)
            fields << c.field;
        auto* preview = new ReportPreview(ReportContent::build(
            d, RecordSet(fields), "Payroll Co\nPenalty & Interest Report\nto 12/31/2005", QDate(2026, 12, 9)));
        fits(preview);
        preview->close();
    }

    void theDialogs() {
        const QString saved = dataDir.filePath("saved.mdb");
        TaxpayerTransfer::save(dataDir.filePath("kelvadat.mdb"), dataDir.filePath("kelvaSav.mdb"), saved, taxpayer);
        std::vector<QWidget*> windows{new SaveTaxpayerDialog(newpath()),
                                      new RetrieveTaxpayerDialog(newpath(), nullptr, saved),
                                      new SetDriveDialog,
                                      new AboutWindow,
                                      new SplashWindow,
                                      new StartDocumentPrompt,
                                      new InstructionsWindow(TALVORO_BIN_DIR "/ipmanual.pdf"),
                                      new HelpWindow(TALVORO_BIN_DIR "/Brenhal/index.html"),
                                      new ErrorResetWindow([] {})};
        // The netting window, with its pairs.
        class Quiet : public RunReporter {
        public:
            void message(const QString&) override {}
            void notice(const QString&) override {}
            void progress(int) override {}
            void progressVisible(bool) override {}
        };
        static Quiet quiet;
        auto* netting = new NettingDialog(QStringLiteral("NONE"), {}, quiet);
        netting->recompute();
        windows.push_back(netting);
        windows.push_back(new NoticeDialog(QStringLiteral("Payroll Co, 1st quarter 2005")));
        windows.push_back(new ReliefDialog(QStringLiteral("Payroll Co, 1st quarter 2005"), QDate(2005, 12, 31)));
        QByteArray transcript = "FORM NUMBER: 1040   TAX PERIOD: Dec. 31, 2022\nTRANSACTIONS\n";
        for (int i = 0; i < 40; ++i)
            transcript += "670   A payment with a long explanation of the transaction   07-01-2023    -$1,000.00\n";
        windows.push_back(new TranscriptDialog("t.txt", Transcript::read(transcript, "t.txt"),
                                               TranscriptRules::installed(), {}, std::nullopt));
        auto* error = new ErrorDialog;
        error->showReport("The database is in use by another program. Try again when it is closed.",
                          QString(4000, 'x'));
        windows.push_back(error);
        for (QWidget* w : windows) {
            fits(w);
            w->setAttribute(Qt::WA_DeleteOnClose);
            w->close();
        }
    }
};

QTEST_MAIN(WindowFitTest)
#include "WindowFitTest.moc"
