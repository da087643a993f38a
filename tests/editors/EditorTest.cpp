#include "CalculationRun.h"
#include "CaseReader.h"
#include "Connection.h"
#include "DataEntryValidation.h"
#include "DatabaseDialog.h"
#include "Editors.h"
#include "FieldText.h"
#include "FileDialogs.h"
#include "MainWindow.h"
#include "MessageBoxes.h"
#include "Names.h"
#include "PostgresDatabase.h"
#include "RecordList.h"
#include "RunReporter.h"
#include "ScratchServer.h"
#include "ServerTransfer.h"
#include "Settings.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "TaxpayerTransfer.h"
#include "TransferDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCompleter>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

// The editors driven with keys and clicks on a fresh copy of the delivered database.
class EditorTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;
    QStringList messages;
    QStringList questions;
    bool answer = false; // what the next question is answered

    QString newpath() const { return dataDir.path() + QLatin1Char('/'); }
    QString mainFile() const { return dataDir.filePath("kelvadat.mdb"); }

    int addTaxpayer(const QString& name, bool payroll = false) {
        SqliteDatabase db(mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
                "[Initial Balance],[Payroll Tax Situation]) VALUES(" +
                SqlText::quote(name) + ",#4/15/2005#,#12/31/2005#,10000," + (payroll ? "1" : "0") + ")");
        return db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
    }
    EditorContext context(int number, const QString& name, bool payroll = false) {
        return {newpath(), number, name, payroll};
    }
    int count(const QString& sql) {
        SqliteDatabase db(mainFile(), SqliteDatabase::Mode::ReadOnly);
        return db.queryNative(sql).value(0, 0).toInt();
    }
    // A payroll taxpayer with a deposit, a payment and a charge.
    int addPayrollCase() {
        const int n = addTaxpayer("Payroll Co, 1st quarter 2005", true);
        SqliteDatabase db(mainFile());
        db.exec("UPDATE [Basic Taxpayer Data] SET [Start Date]=#1/1/2005#,[Extended Due Date Of Return]=#4/30/2005#,"
                "[Calculate Failure To Pay Penalty]=1,[Assessment Date For Failure To Pay Penalty]=#6/1/2005#");
        db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],"
                "[Deposit Due Date],[Assessment Date],[Required Deposit]) VALUES(" +
                SqlText::whole(n) + ",'Payroll Co, 1st quarter 2005','Liability',#2/15/2005#,#6/1/2005#,1000)");
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
                "[Amount Of Payment],[Payment Allocated To Tax],[Payment Allocated To Penalties],"
                "[Payment Allocated To Interest],[Due Date Of Liability]) VALUES(" +
                SqlText::whole(n) + ",'Payroll Co, 1st quarter 2005','Payment',#2/25/2005#,1000,1000,0,0,#2/15/2005#)");
        db.exec("INSERT INTO [Additional Charges]([Taxpayer Number],[Taxpayer Name],[Event],[Description],"
                "[Date Liability Incurred],[Date Interest Starts],[Total Amount of Charge],[Charge Classified As Tax],"
                "[Charge Classified As Penalty],[Charge Unclassified]) VALUES(" +
                SqlText::whole(n) +
                ",'Payroll Co, 1st quarter 2005','Other Charge','Notice CP 161',#8/1/2005#,#8/1/2005#,575,500,50,25)");
        return n;
    }
    void addEstimatedTax(int n) {
        SqliteDatabase db(mainFile());
        db.exec("INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],"
                "[Prior Year Tax],[Prior Year Full Year],[Withholding]) VALUES(" +
                SqlText::whole(n) + ",#12/31/2005#,7031,6116,1,3228)");
        db.exec("INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End],[Date Of Payment],"
                "[Amount Of Payment]) VALUES(" +
                SqlText::whole(n) + ",#12/31/2005#,#9/2/2005#,1000)");
    }
    // Every editor by the name its menu item has.
    static QStringList editorKinds() {
        return {"taxpayer",     "payment",     "charges",        "deposits",
                "underpayment", "overpayment", "largeCorporate", "estimatedTax"};
    }
    RecordEditor* makeEditor(const QString& kind, const EditorContext& c) {
        if (kind == "taxpayer")
            return new TaxpayerEditor(c);
        if (kind == "payment")
            return new PaymentEditor(c);
        if (kind == "charges")
            return new ChargesEditor(c);
        if (kind == "deposits")
            return new DepositsEditor(c);
        if (kind == "underpayment")
            return new RateEditor(RateKinds::underpayment(), c);
        if (kind == "overpayment")
            return new RateEditor(RateKinds::overpayment(), c);
        if (kind == "largeCorporate")
            return new RateEditor(RateKinds::largeCorporate(), c);
        return new EstimatedTaxEditor(c);
    }
    // Every row of the editable tables, as text: what a test compares to show nothing was written.
    QString everyRow() {
        SqliteDatabase db(mainFile(), SqliteDatabase::Mode::ReadOnly);
        QString all;
        for (const QString& table : {Tables::basicTaxpayerData, Tables::payments, Tables::charges, Tables::deposits,
                                     Tables::underpaymentRates, Tables::overpaymentRates, Tables::largeCorporateRates,
                                     Tables::estimatedTaxData, Tables::estimatedTaxPayments}) {
            const RecordSet rows = db.queryNative(QStringLiteral("SELECT * FROM [%1]").arg(table));
            for (int r = 0; r < rows.size(); ++r)
                for (int c = 0; c < rows.fields().size(); ++c)
                    all += rows.value(r, c).toString() + QLatin1Char('|');
            all += QLatin1Char('\n');
        }
        return all;
    }
    static void activate(QWidget* w) {
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    static void click(QWidget* w, const char* button) {
        QTest::mouseClick(w->findChild<QPushButton*>(button), Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        MessageBoxes::setHook([this](const QString& text) { messages << text; });
        MessageBoxes::setAskHook([this](const QString& text) {
            questions << text;
            return answer;
        });
    }
    void init() {
        messages.clear();
        questions.clear();
        answer = false;
        QFile::remove(mainFile());
        QVERIFY(QFile::copy(TALVORO_BIN_DIR "/kelvadat.mdb", mainFile()));
        QFile::remove(dataDir.filePath("kelvaSav.mdb"));
        QVERIFY(QFile::copy(TALVORO_BIN_DIR "/kelvaSav.mdb", dataDir.filePath("kelvaSav.mdb")));
        for (const char* f : {"kelvadat.mdb", "kelvaSav.mdb"})
            QFile::setPermissions(dataDir.filePath(f), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        Settings::setNewpath(newpath());
        for (const QString& f : Settings::recentFiles())
            Settings::removeRecentFile(f);
    }

    void keystrokeFilter() {
        QCOMPARE(DataEntryValidation('7', "Num"), int('7'));
        QCOMPARE(DataEntryValidation('-', "Num"), int('-'));
        QCOMPARE(DataEntryValidation('a', "Num"), 0);
        QCOMPARE(DataEntryValidation(8, "Num"), 8);
        QCOMPARE(DataEntryValidation('-', "Amt"), 0);
        QCOMPARE(DataEntryValidation('q', "Chr"), int('Q'));
        QCOMPARE(DataEntryValidation('1', "Chr"), 0);
        QCOMPARE(DataEntryValidation('z', "XBox"), int('X'));
        QCOMPARE(DataEntryValidation('z', "Cbo"), 0);
        QCOMPARE(DataEntryValidation('z', ""), int('z'));
    }

    void fieldTexts() {
        QVariant v;
        QVERIFY(FieldText::parse(FieldKind::Date, "4/15/2005", 0, &v));
        QCOMPARE(v.toString(), QString("2005-04-15"));
        QVERIFY(!FieldText::parse(FieldKind::Date, "02/29/2005", 0, &v));
        QVERIFY(FieldText::parse(FieldKind::Money, "1,234,567.89", 0, &v));
        QCOMPARE(v.toDouble(), 1234567.89);
        QVERIFY(FieldText::parse(FieldKind::Rate, "7.25%", 0, &v));
        QCOMPARE(v.toDouble(), 0.0725);
        QCOMPARE(FieldText::editing(FieldKind::Rate, 0.0725), QString("0.0725")); // no digits lost on focus
        QCOMPARE(FieldText::editing(FieldKind::Rate, 0.07), QString("0.07"));
        QVERIFY(!FieldText::parse(FieldKind::Money, "12a", 0, &v));
        // Found by fuzzing: blanks count in a name's length, since they are stored.
        QVERIFY(!FieldText::parse(FieldKind::Text, QString(150, 'x') + "   ", 150, &v));
        QVERIFY(FieldText::parse(FieldKind::Text, QString(150, 'x'), 150, &v));
    }

    // A deposit saved between two others is shown at its due-date position; navigation keys move as specified.
    void addSaveRefindAndNavigation() {
        const int n = addTaxpayer("Payroll Co", true);
        DepositsEditor e(context(n, "Payroll Co", true));
        activate(&e);
        QCOMPARE(e.statusText(), QString("Click Add To Create First Record"));
        for (const char* due : {"02/15/2005", "04/15/2005", "03/15/2005"}) {
            click(&e, "cmdAdd");
            QVERIFY(e.adding());
            QCOMPARE(e.statusText(), QString("Add record"));
            QCOMPARE(e.field(2)->text(), QString("0"));
            QCOMPARE(e.field(3)->text(), QString("Payroll Co"));
            QTest::keyClick(e.field(0), Qt::Key_Escape); // asks first while adding; No keeps the new record
            QVERIFY(e.isVisible() && e.adding());
            QCOMPARE(questions, QStringList{RecordEditor::cancelQuestion});
            questions.clear();
            type(e.field(0), due);
            type(e.field(2), "1,000");
            click(&e, "cmdUpdate");
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        }
        QCOMPARE(e.rowCount(), 3);
        QCOMPARE(e.field(0)->text(), QString("03/15/2005"));
        QCOMPARE(e.position(), 1);
        QCOMPARE(e.statusText(), QString("Deposit record: 2"));
        QCOMPARE(e.field(0)->text(), QString("03/15/2005"));
        QCOMPARE(e.value("Event").toString(), QString("Liability"));
        QCOMPARE(e.value("Taxpayer Number").toInt(), n);

        // Home, End, Page Up and Page Down move the cursor of the field; Ctrl with them moves between records.
        for (const Qt::Key key : {Qt::Key_End, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_PageUp}) {
            QTest::keyClick(e.field(0), key);
            QCOMPARE(e.position(), 1);
        }
        QTest::keyClick(e.field(0), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(e.position(), 2);
        click(&e, "cmdNext"); // on the last row: stays
        QCOMPARE(e.position(), 2);
        QTest::keyClick(e.field(0), Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier); // not exactly Ctrl
        QCOMPARE(e.position(), 2);
        QTest::keyClick(e.field(0), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(e.position(), 1);
        QTest::keyClick(e.field(0), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(e.position(), 0);
        QTest::keyClick(e.field(0), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(e.position(), 1);
        QVERIFY(!e.editing());
    }

    // The Estimated Tax form: one record a tax year, each with its payments typed in the form and saved with it; a
    // second record for a year is refused.
    void estimatedTaxForm() {
        const int n = addTaxpayer("Ben Brown");
        EstimatedTaxEditor e(context(n, "Ben Brown"));
        activate(&e);
        QVERIFY(e.listedPayments().isEmpty());
        click(&e, "cmdAdd");
        QCOMPARE(e.field(1)->text(), QString("0"));
        QVERIFY(!e.check(3)->isChecked());
        click(&e, "cmdUpdate"); // the tax year's end is required
        QCOMPARE(messages.size(), 1);
        messages.clear();
        type(e.field(0), "12/31/2005");
        type(e.field(1), "7031");
        type(e.field(2), "6116");
        type(e.field(6), "3228");
        e.check(3)->setFocus();
        QTest::keyClick(e.check(3), Qt::Key_Space);
        QTableWidget* payments = e.paymentTable();
        for (const auto& [date, amount] : {std::pair{"01/12/2006", "1000"}, std::pair{"09/02/2005", "1000.50"}}) {
            click(&e, "cmdAddPayment");
            const int row = payments->rowCount() - 1;
            payments->item(row, 0)->setText(date);
            payments->item(row, 1)->setText(amount);
        }
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Payments]"), 0); // nothing written while typing
        click(&e, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QCOMPARE(e.value("Taxpayer Number").toInt(), n);
        QCOMPARE(
            count("SELECT COUNT(*) FROM [Estimated Tax Data] WHERE [Prior Year Full Year]=1 AND [Withholding]=3228"),
            1);
        QCOMPARE(e.listedPayments(), QStringList({"09/02/2005    1,000.50", "01/12/2006    1,000.00"}));
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Payments] WHERE [Taxpayer Number]=" + SqlText::whole(n) +
                       " AND [Tax Year End]='2005-12-31'"),
                 2);

        // A second year is a record of its own; the same year again is refused.
        click(&e, "cmdAdd");
        QVERIFY(e.listedPayments().isEmpty());
        type(e.field(0), "12/31/2005");
        click(&e, "cmdUpdate");
        QCOMPARE(messages, QStringList{EstimatedTaxEditor::alreadyEntered(QDate(2005, 12, 31))});
        type(e.field(0), "12/31/2006");
        click(&e, "cmdUpdate");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Data]"), 2);
        QCOMPARE(e.recordList()->countText(), QString("2 tax years"));
        click(&e, "cmdFirst");
        QCOMPARE(e.listedPayments().size(), 2);
        click(&e, "cmdLast");
        QVERIFY(e.listedPayments().isEmpty());
    }

    // Payments typed for a new year and then cancelled, or dropped on closing, leave nothing behind.
    void estimatedPaymentsGoWithTheirRecord() {
        const int n = addTaxpayer("Dropped");
        QPointer<EstimatedTaxEditor> e = new EstimatedTaxEditor(context(n, "Dropped"));
        activate(e);
        click(e, "cmdAdd");
        type(e->field(0), "12/31/2005");
        click(e, "cmdAddPayment");
        e->paymentTable()->item(0, 0)->setText("04/15/2005");
        e->paymentTable()->item(0, 1)->setText("500");
        click(e, "cmdCancel");
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Payments]"), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Data]"), 0);
        // A bad payment row refuses the save of the year too.
        click(e, "cmdAdd");
        type(e->field(0), "12/31/2005");
        click(e, "cmdAddPayment");
        e->paymentTable()->item(0, 0)->setText("02/30/2005");
        // Removing a payment leaves the focus off the button: a second Space removes nothing more.
        click(e, "cmdAddPayment");
        QCOMPARE(e->paymentTable()->rowCount(), 2);
        e->paymentTable()->setCurrentCell(1, 0);
        click(e, "cmdRemovePayment");
        QCOMPARE(e->paymentTable()->rowCount(), 1);
        QCOMPARE(QApplication::focusWidget(), e->paymentTable());
        click(e, "cmdUpdate");
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("\"02/30/2005\" of estimated payment 1 is not a date"), qPrintable(messages[0]));
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Data]"), 0);
        answer = true;
        QVERIFY(e->close());
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Payments]"), 0);
    }

    void cancelAfterAddOnAnEmptyTable() {
        const int n = addTaxpayer("Empty");
        ChargesEditor e(context(n, "Empty"));
        click(&e, "cmdAdd");
        QCOMPARE(e.field(8)->text(), QString("Other Charge"));
        click(&e, "cmdCancel");
        QVERIFY(!e.adding());
        QCOMPARE(e.position(), -1);
        QCOMPARE(e.rowCount(), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM [Additional Charges]"), 0);
    }

    void numFieldsFilterKeysAndFillZero() {
        const int n = addTaxpayer("Keys");
        PaymentEditor e(context(n, "Keys"));
        activate(&e);
        click(&e, "cmdAdd");
        QLineEdit* amount = e.field(2);
        type(amount, "1a2-.5x");
        QCOMPARE(amount->text(), QString("12-.5"));
        amount->clear();
        e.field(3)->setFocus(); // leaving an empty "Num" field
        QCOMPARE(amount->text(), QString("0.00"));
        click(&e, "cmdCancel");
    }

    // A split that does not add up is asked about before anything is written, with the difference.
    void allocationCheckBeforeSaving() {
        const int n = addTaxpayer("Split");
        PaymentEditor e(context(n, "Split"));
        activate(&e);
        auto payment = [&](const char* amount, const char* tax, const char* pen, const char* interest) {
            click(&e, "cmdAdd");
            type(e.field(1), "07/01/2005");
            type(e.field(2), amount);
            type(e.field(3), tax);
            type(e.field(4), pen);
            type(e.field(5), interest);
            click(&e, "cmdUpdate");
        };
        payment("300", "100", "100", "100");
        QVERIFY(questions.isEmpty());
        payment("300", "100", "100", "50");
        QCOMPARE(questions,
                 QStringList{PaymentEditor::allocationQuestion(Money::fromCents(30000), Money::fromCents(25000))});
        QVERIFY(questions[0].contains("a difference of 50.00"));
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 1); // not written on No
        QVERIFY(e.adding());
        answer = true;
        click(&e, "cmdUpdate");
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 2);
        QVERIFY(messages.isEmpty());

        // A new payment left at its zeros raises no question.
        questions.clear();
        click(&e, "cmdAdd");
        type(e.field(1), "08/01/2005");
        click(&e, "cmdUpdate");
        QVERIFY(questions.isEmpty());
    }

    void chargeComponentsCheck() {
        const int n = addTaxpayer("Charged");
        ChargesEditor e(context(n, "Charged"));
        activate(&e);
        auto charge = [&](const char* c) {
            click(&e, "cmdAdd");
            type(e.field(2), "09/01/2005");
            type(e.field(3), "1000");
            type(e.field(4), "600");
            type(e.field(5), "300");
            type(e.field(6), c);
            click(&e, "cmdUpdate");
        };
        charge("100");
        QVERIFY(messages.isEmpty());
        charge("200");
        QCOMPARE(messages, QStringList{ChargesEditor::componentsWarning});
        QCOMPARE(count("SELECT COUNT(*) FROM [Additional Charges]"), 2);
    }

    // A refund whose interest runs past the day it was made, or of nothing, is refused with a message that says what
    // to enter; a sound one is written with its taxpayer and event.
    void refundChecks() {
        const int n = addTaxpayer("Refunded");
        RefundsEditor e(context(n, "Refunded"));
        activate(&e);
        auto refund = [&](const char* made, const char* to, const char* amount) {
            type(e.field(0), made);
            type(e.field(1), to);
            e.field(2)->clear();
            type(e.field(2), amount);
            click(&e, "cmdUpdate");
        };
        click(&e, "cmdAdd");
        // Without its dates it is not saved, and what was typed stays.
        type(e.field(2), "500");
        click(&e, "cmdUpdate");
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith("The Date Refund Made is required."), qPrintable(messages[0]));
        QCOMPARE(e.field(2)->text(), QString("500.00"));
        QCOMPARE(count("SELECT COUNT(*) FROM [Refund Table]"), 0);
        messages.clear();
        refund("07/09/2006", "07/10/2006", "500");
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("07/10/2006") && messages[0].contains("on or before"), qPrintable(messages[0]));
        QCOMPARE(count("SELECT COUNT(*) FROM [Refund Table]"), 0);
        messages.clear();
        e.field(1)->clear();
        e.field(0)->clear();
        refund("07/09/2006", "06/30/2006", "0");
        QCOMPARE(messages, QStringList{"Enter the overpayment refunded: an amount above zero."});
        messages.clear();
        e.field(2)->clear();
        type(e.field(2), "500");
        click(&e, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QCOMPARE(count("SELECT COUNT(*) FROM [Refund Table] WHERE [Taxpayer Number]=" + QString::number(n) +
                       " AND [Event]='Refund' AND [Interest To Date]='2006-06-30' AND [Amount Of Refund]=500"),
                 1);
    }

    // A client's returns are saved into one file from the entry of the client in the save dialog.
    void saveAClientsReturns() {
        const int a = addTaxpayer("North 2010");
        const int b = addTaxpayer("North 2011");
        addTaxpayer("South");
        {
            SqliteDatabase db(mainFile());
            db.execNative(QStringLiteral("UPDATE [Basic Taxpayer Data] SET [Client Code]='NORTH' WHERE [Taxpayer "
                                         "Number] IN (%1,%2)")
                              .arg(a)
                              .arg(b));
        }
        const QString target = dataDir.filePath("north.mdb");
        FileDialogs::setNextAnswer([target](const QString&) { return target; });
        QPointer<SaveTaxpayerDialog> save = new SaveTaxpayerDialog(newpath());
        auto* list = save->findChild<QListWidget*>("DataList1");
        QVERIFY(list->item(0)->text().startsWith("Client NORTH: all 2 of its returns"));
        save->saveClient("NORTH");
        QVERIFY(QFile::exists(target));
        QCOMPARE(TaxpayerTransfer::peek(target).count, 2);
        QVERIFY2(messages.size() == 1 && messages[0].startsWith("The 2 returns of client NORTH were saved to "),
                 qPrintable(messages.join("|")));
        FileDialogs::setNextAnswer({});
    }

    void aBadValueIsRefusedAndNothingWritten() {
        const int n = addTaxpayer("Bad");
        PaymentEditor e(context(n, "Bad"));
        activate(&e);
        click(&e, "cmdAdd");
        type(e.field(1), "02/30/2005");
        click(&e, "cmdUpdate");
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains("\"02/30/2005\" is not a date"));
        QVERIFY(e.adding()); // the user can correct it or cancel
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 0);
        // An amount beyond the largest the program takes is refused the same way.
        type(e.field(1), "02/28/2005");
        type(e.field(2), "1000000000000");
        messages.clear();
        click(&e, "cmdUpdate");
        QCOMPARE(messages, QStringList{"The Amount Of Payment \"1000000000000\" is not an amount of at most "
                                       "999,999,999,999.99. Correct it, or cancel."});
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 0);
        type(e.field(2), "999999999999.99");
        answer = true; // saved with its allocations left at zero
        click(&e, "cmdUpdate");
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 1);
    }

    void taxpayerEditorParticulars() {
        const int active = addTaxpayer("Active");
        const int other = addTaxpayer("O'Other");
        {
            SqliteDatabase db(mainFile());
            for (int who : {active, other}) {
                const QString w = SqlText::whole(who);
                db.exec("INSERT INTO [Payment Table]([Taxpayer Number]) VALUES(" + w + ")");
                db.exec("INSERT INTO [Additional Charges]([Taxpayer Number]) VALUES(" + w + ")");
                db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number]) VALUES(" + w + ")");
                db.exec("INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End]) VALUES(" + w +
                        ",#12/31/2005#)");
                for (int i = 0; i < 2; ++i)
                    db.exec("INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Tax Year End]) VALUES(" + w +
                            ",#12/31/2005#)");
            }
        }
        TaxpayerEditor e(context(active, "Active"));
        activate(&e);
        QCOMPARE(e.field(0)->text(), QString("Active")); // starts on the active taxpayer

        // Tab follows the form from top to bottom.
        e.field(4)->setFocus();
        QTest::keyClick(e.field(4), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.check(15)));
        e.check(13)->setFocus();
        QTest::keyClick(e.check(13), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.field(1)));

        // End date one day before the extended due date warns, and Save asks by the same rule; equal does neither.
        click(&e, "cmdEdit");
        type(e.field(95), "10/15/2005");
        type(e.field(92), "10/14/2005");
        e.field(0)->setFocus();
        QVERIFY(e.endDateWarningShown());
        click(&e, "cmdUpdate");
        QCOMPARE(questions, QStringList{TaxpayerEditor::endDateQuestion("10/14/2005", "10/15/2005")});
        QVERIFY(e.editing()); // No keeps it being typed
        questions.clear();
        type(e.field(92), "10/15/2005");
        e.field(0)->setFocus();
        QVERIFY(!e.endDateWarningShown());
        // Moving the extended due date after it brings the warning back.
        type(e.field(95), "10/16/2005");
        e.field(0)->setFocus();
        QVERIFY(e.endDateWarningShown());
        type(e.field(95), "10/15/2005");
        e.field(0)->setFocus();

        // Unchecking failure to pay unchecks the increased rate; checking it again does not.
        e.check(11)->setChecked(true);
        e.check(17)->setChecked(true);
        QTest::mouseClick(e.check(11), Qt::LeftButton);
        QVERIFY(!e.check(17)->isChecked());
        QTest::mouseClick(e.check(11), Qt::LeftButton);
        QVERIFY(!e.check(17)->isChecked());
        click(&e, "cmdCancel");

        // The active taxpayer cannot be deleted; another goes with exactly its rows.
        click(&e, "cmdDelete");
        QCOMPARE(messages, QStringList{TaxpayerEditor::activeRefusal});
        QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data]"), 2);
        click(&e, "cmdNext");
        QCOMPARE(e.field(0)->text(), QString("O'Other"));
        // Asked first, with the rows that go too; No keeps everything.
        click(&e, "cmdDelete");
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0], QString("Delete taxpayer %1, O'Other, with everything entered for it: 1 payment, 1 "
                                       "required deposit, 1 additional charge, 1 tax year of estimated tax figures "
                                       "and 2 estimated tax payments? This cannot be undone.")
                                   .arg(other));
        QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data]"), 2);
        answer = true;
        click(&e, "cmdDelete");
        QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data]"), 1);
        for (const char* table : {"Payment Table", "Additional Charges", "Required Payroll Tax Deposits",
                                  "Estimated Tax Data", "Estimated Tax Payments"}) {
            QCOMPARE(count(QString("SELECT COUNT(*) FROM [%1] WHERE [Taxpayer Number]=%2").arg(table).arg(other)), 0);
            QVERIFY(count(QString("SELECT COUNT(*) FROM [%1] WHERE [Taxpayer Number]=%2").arg(table).arg(active)) > 0);
        }
    }

    // A name with an apostrophe: added in the editor, selected in the main window, calculated.
    void apostropheNameEndToEnd() {
        MainWindow w;
        w.load();
        w.action("mnuNewTaxpayer")->trigger();
        auto* e = qobject_cast<TaxpayerEditor*>(w.openEditorWindow());
        QVERIFY(e);
        activate(e);
        click(e, "cmdAdd");
        type(e->field(0), "O'Brien & Sons");
        type(e->field(3), "04/15/2005");
        type(e->field(95), "04/15/2005");
        type(e->field(92), "12/31/2005");
        type(e->field(4), "10000");
        click(e, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QVERIFY2(e->statusText().startsWith("Taxpayer Number: "), qPrintable(e->statusText()));
        e->close();
        QTRY_VERIFY(w.isEnabled());
        w.selectExistingTaxpayer();
        auto* list = w.findChild<QTreeWidget*>("DataList1");
        QCOMPARE(list->topLevelItemCount(), 1);
        w.chooseTaxpayer(list->topLevelItem(0)->data(0, Qt::UserRole).toInt());
        QCOMPARE(w.activeName(), QString("O'Brien & Sons"));
        w.action("mnuInterestReport")->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QCOMPARE(count("SELECT COUNT(*) FROM [Event Table]"), 4);
    }

    // On the firm's server: a taxpayer added and saved through the form, another user's change not overwritten (the
    // typed name kept until the user chooses), the history shown, and the rate commands the staff may not use
    // disabled with the reason.
    void onTheFirmsServer() {
        if (!ScratchServer::available())
            QSKIP("no test server (scripts/test-server)");
        const QString name = QStringLiteral("gui_editor_%1").arg(QCoreApplication::applicationPid());
        const ServerAddress admin = ScratchServer::create(name);
        {
            PostgresDatabase db(admin);
            ServerTransfer::copyWholeFile(mainFile(), db);
        }
        Settings::setServer(admin.text());
        const QString typed = "x'); DROP TABLE \"Payment Table\"; --";
        int number = 0;
        {
            MainWindow w;
            w.load();
            QVERIFY(w.action("mnuUpdateRates")->isEnabled());
            w.action("mnuNewTaxpayer")->trigger();
            auto* e = qobject_cast<TaxpayerEditor*>(w.openEditorWindow());
            QVERIFY(e);
            activate(e);
            click(e, "cmdAdd");
            type(e->field(0), typed);
            type(e->field(3), "04/15/2005");
            type(e->field(95), "04/15/2005");
            type(e->field(92), "12/31/2005");
            type(e->field(4), "10000");
            click(e, "cmdUpdate");
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
            PostgresDatabase db(admin);
            number = db.query(Sql::highestTaxpayerNumber()).value(0, 0).toInt();
            QCOMPARE(db.query(Sql::selectTaxpayerName(number)).value(0, 0).toString(), typed);
            QVERIFY(e->findChild<QPushButton*>("cmdHistory")->isEnabled());
            e->close();
        }
        {
            TaxpayerEditor e(context(number, typed));
            activate(&e);
            click(&e, "cmdEdit");
            type(e.field(0), "Typed Here");
            {
                PostgresDatabase staff(ScratchServer::asStaff(admin));
                staff.exec(QStringLiteral("UPDATE [Basic Taxpayer Data] SET [Taxpayer Name] = 'Changed There' WHERE "
                                          "[Taxpayer Number] = %1")
                               .arg(number));
            }
            answer = false; // keep what was typed
            click(&e, "cmdUpdate");
            QCOMPARE(questions.size(), 1);
            QVERIFY2(questions[0].startsWith(QStringLiteral("Taxpayer %1 was changed by %2 at ")
                                                 .arg(number)
                                                 .arg(qEnvironmentVariable("TALVORO_TEST_STAFF"))),
                     qPrintable(questions[0]));
            QVERIFY(questions[0].endsWith("Reload it?"));
            QCOMPARE(e.field(0)->text(), QString("Typed Here"));
            QVERIFY(e.editing());
            PostgresDatabase db(admin);
            QCOMPARE(db.query(Sql::selectTaxpayerName(number)).value(0, 0).toString(), QString("Changed There"));
            answer = true; // reload
            click(&e, "cmdUpdate");
            QCOMPARE(questions.size(), 2);
            QVERIFY(!e.editing());
            QCOMPARE(e.field(0)->text(), QString("Changed There"));
            QCOMPARE(db.history(number).size(), size_t(2));
        }
        Settings::setServer(ScratchServer::asStaff(admin).text());
        {
            MainWindow w;
            w.load();
            QVERIFY(!w.action("mnuUpdateRates")->isEnabled());
            QCOMPARE(w.action("mnuUpdateRates")->toolTip(), PostgresDatabase::ratesRefused());
        }
        Settings::setServer(QString());
        ScratchServer::drop(name);
    }

    // A server that cannot be reached, or a setting that cannot be read: the user is asked, and the local file taken
    // is the one every window then works on; System > Database… keeps what was typed while the server refuses it.
    void aServerThatCannotBeReached() {
        Settings::setServer("dbname='unclosed");
        answer = true; // open the local file instead
        {
            MainWindow w;
            w.load();
            QCOMPARE(questions.size(), 1);
            QVERIFY2(questions[0].contains("cannot be read") && questions[0].endsWith("Open the local file instead?"),
                     qPrintable(questions[0]));
            QVERIFY(dynamic_cast<SqliteDatabase*>(w.connection()));
            // An editor opened now works on the same file, not on the server the setting names.
            const int n = addTaxpayer("On The File");
            TaxpayerEditor e(context(n, "On The File"));
            QCOMPARE(e.statusText().isEmpty(), false);
        }
        Connection::workLocallyThisSession(false);

        QTemporaryDir nowhere;
        DatabaseDialog dialog(std::nullopt);
        dialog.setTrial([](const ServerAddress& a) -> std::optional<QString> {
            try {
                Connection::openServer(a);
                return std::nullopt;
            } catch (const StoreError& e) {
                return e.message();
            }
        });
        dialog.show();
        dialog.findChild<QRadioButton*>("optServer")->setChecked(true);
        dialog.findChild<QLineEdit*>("txtHost")->setText(nowhere.path());
        // No database named: said, and the dialog stays.
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages.size(), 1);
        dialog.findChild<QLineEdit*>("txtDatabase")->setText("firm");
        answer = false; // not the local file: correct the address
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY2(questions.last().contains("could not be reached"), qPrintable(questions.last()));
        QCOMPARE(dialog.findChild<QLineEdit*>("txtHost")->text(), nowhere.path());
        answer = true;
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.chosen());
        Settings::setServer(QString());
    }

    void rateEditorShowsPercentsAndStoresFractions() {
        RateEditor e(RateKinds::underpayment(), context(0, ""));
        activate(&e);
        QVERIFY(e.statusText().startsWith("Record: 1 of "));
        QCOMPARE(e.field(0)->text(), QString("01/01/2026")); // newest first
        QCOMPARE(e.field(2)->text(), QString("7.00%"));
        click(&e, "cmdAdd");
        type(e.field(0), "04/01/2026");
        type(e.field(1), "06/30/2026");
        type(e.field(2), "");
        e.field(0)->setFocus(); // an empty rate stays empty: it is no rate of 0
        QCOMPARE(e.field(2)->text(), QString());
        click(&e, "cmdUpdate");
        QCOMPARE(messages, QStringList{"The Interest Rate is required. Enter it, or cancel."});
        messages.clear();
        type(e.field(2), "0");
        e.field(0)->setFocus();
        QCOMPARE(e.field(2)->text(), QString("0.00%"));
        click(&e, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QCOMPARE(e.position(), 0);
        QCOMPARE(e.field(0)->text(), QString("04/01/2026"));
        QCOMPARE(count("SELECT COUNT(*) FROM [Interest Table] WHERE [Beginning Date]='2026-04-01' AND "
                       "[Interest Rate]=0"),
                 1);
        e.field(2)->setFocus();
        QCOMPARE(e.field(2)->text(), QString("0.00"));
    }

    // Pictures of every editor and both dialogs, written when TALVORO_SCREENSHOTS names a folder.
    void screenshots() {
        const QString folder = qEnvironmentVariable("TALVORO_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("TALVORO_SCREENSHOTS is not set");
        const int n = addPayrollCase();
        const auto c = context(n, "Payroll Co, 1st quarter 2005", true);
        auto shoot = [&](QWidget* w, const QString& name) {
            w->show();
            QTest::qWait(50);
            QVERIFY(w->grab().save(folder + "/" + name + ".png"));
        };
        TaxpayerEditor t(c);
        shoot(&t, "editor-taxpayer");
        t.edit();
        t.field(92)->setText("04/01/2005");
        t.field(92)->setModified(true);
        t.field(92)->setFocus();
        t.field(0)->setFocus();
        shoot(&t, "editor-taxpayer-warning");
        t.cancel();
        PaymentEditor p(c);
        shoot(&p, "editor-payment-start");
        p.calculateBalances(); // as the user does it: on the window already shown
        shoot(&p, "editor-payment");
        p.first(); // the balances hidden again
        shoot(&p, "editor-payment-moved");
        ChargesEditor ch(c);
        shoot(&ch, "editor-charges");
        DepositsEditor d(c);
        shoot(&d, "editor-deposits");
        RateEditor u(RateKinds::underpayment(), c);
        shoot(&u, "editor-underpayment");
        RateEditor o(RateKinds::overpayment(), c);
        shoot(&o, "editor-overpayment");
        RateEditor l(RateKinds::largeCorporate(), c);
        shoot(&l, "editor-large-corporate");
        addEstimatedTax(n);
        EstimatedTaxEditor e(c);
        shoot(&e, "editor-estimated-tax");
        auto* save = new SaveTaxpayerDialog(newpath());
        shoot(save, "dialog-save");
        save->close();
        const QString target = dataDir.filePath("shot.mdb");
        FileDialogs::setNextAnswer([target](const QString&) { return target; });
        auto* s2 = new SaveTaxpayerDialog(newpath());
        s2->saveTaxpayer(n);
        auto* retrieve = new RetrieveTaxpayerDialog(newpath());
        shoot(retrieve, "dialog-retrieve");
        retrieve->close();
        FileDialogs::setNextAnswer({});
    }

    // Typing into a field of the record shown starts its edit, in every editor; closing then asks before it drops
    // what was typed, and dropping it writes nothing.
    void typingIntoAShownRecordStartsItsEdit_data() {
        QTest::addColumn<QString>("kind");
        for (const QString& kind : editorKinds())
            QTest::newRow(qPrintable(kind)) << kind;
    }
    void typingIntoAShownRecordStartsItsEdit() {
        QFETCH(QString, kind);
        const int n = addPayrollCase();
        addEstimatedTax(n);
        const QString before = everyRow();
        QPointer<RecordEditor> e = makeEditor(kind, context(n, "Payroll Co, 1st quarter 2005", true));
        activate(e);
        QVERIFY(e->position() >= 0);
        QVERIFY(!e->editing() && !e->adding());
        // The first field the user can type into.
        QLineEdit* target = nullptr;
        for (int i = 0; i < 200 && !target; ++i)
            if (QLineEdit* f = e->field(i); f && f->isVisible() && f->isEnabled() && f->focusPolicy() != Qt::NoFocus &&
                                            f->objectName() != "txtTaxpayerName")
                target = f;
        QVERIFY(target);
        const QString shown = target->text();
        target->setFocus();
        QTest::keyClick(target, Qt::Key_End);
        QTest::keyClicks(target, "7");
        QVERIFY2(e->editing(), qPrintable(target->objectName()));
        QCOMPARE(target->text(), shown + "7");
        QVERIFY(!e->close());
        QCOMPARE(questions, QStringList{RecordEditor::dropQuestion});
        QVERIFY(e->isVisible());
        QCOMPARE(target->text(), shown + "7");
        answer = true;
        QVERIFY(e->close());
        delete e.data();
        QCOMPARE(everyRow(), before);
    }

    // A delete is taken back with Ctrl+Z, as it was, and the note names what was deleted; the taxpayer's own
    // delete asks first instead.
    void undoDelete() {
        const int n = addPayrollCase();
        const QString before = everyRow();
        for (const QString& kind : {QString("payment"), QString("charges"), QString("deposits")}) {
            QPointer<RecordEditor> e = makeEditor(kind, context(n, "Payroll Co, 1st quarter 2005", true));
            activate(e);
            QCOMPARE(e->rowCount(), 1);
            click(e, "cmdDelete");
            QVERIFY2(questions.isEmpty(), qPrintable(questions.join("|")));
            QCOMPARE(e->rowCount(), 0);
            QVERIFY2(e->noteText().startsWith("Deleted the ") && e->noteText().contains("Ctrl+Z"),
                     qPrintable(e->noteText()));
            QVERIFY2(!messages.join("|").contains("All the records have been deleted"), qPrintable(messages.join("|")));
            QVERIFY(everyRow() != before);
            QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(e->rowCount(), 1);
            QVERIFY(!e->canUndoDelete());
            answer = true;
            e->close();
            delete e.data();
            QCOMPARE(everyRow(), before);
            messages.clear();
        }
        // A rate row too: back as it was, the current row with it.
        RateEditor rates(RateKinds::underpayment(), context(0, ""));
        activate(&rates);
        const int rows = rates.rowCount();
        click(&rates, "cmdNext");
        const QString begins = rates.field(0)->text();
        click(&rates, "cmdDelete");
        QCOMPARE(rates.rowCount(), rows - 1);
        rates.findChild<QAction*>("actUndoDelete")->trigger();
        QCOMPARE(rates.rowCount(), rows);
        QCOMPARE(rates.field(0)->text(), begins);
        QCOMPARE(everyRow(), before);

        // The taxpayer: asked, every kind of its rows named, nothing deleted on No.
        addEstimatedTax(n);
        TaxpayerEditor t(context(0, "")); // the active taxpayer itself is never deleted
        activate(&t);
        answer = false;
        click(&t, "cmdDelete");
        QCOMPARE(questions.size(), 1);
        for (const char* kind : {"payment", "deposit", "charge", "estimated"})
            QVERIFY2(questions[0].contains(kind, Qt::CaseInsensitive), qPrintable(questions[0]));
        QCOMPARE(count("SELECT COUNT(*) FROM [Estimated Tax Payments]"), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data]"), 1);
    }

    // A payroll payment's liability date must be one of the taxpayer's deposit due dates: the form offers them, and
    // another is refused at Save with the list, nothing written.
    void aLiabilityDateThatIsNoDepositsIsRefused() {
        const int n = addPayrollCase();
        {
            SqliteDatabase db(mainFile());
            db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],"
                    "[Deposit Due Date],[Assessment Date],[Required Deposit]) VALUES(" +
                    SqlText::whole(n) + ",'Payroll Co, 1st quarter 2005','Liability',#3/15/2005#,#6/1/2005#,500)");
        }
        const QString before = everyRow();
        PaymentEditor e(context(n, "Payroll Co, 1st quarter 2005", true));
        activate(&e);
        click(&e, "cmdAdd");
        type(e.field(1), "03/01/2005");
        type(e.field(2), "500");
        type(e.field(3), "500");
        QLineEdit* liability = e.field(7);
        QVERIFY(liability && liability->isVisible());
        QVERIFY(liability->completer());
        // Typed as a user types it: the list of due dates opens at the first key, and the typing goes on.
        type(liability, "02/16/2005");
        QCOMPARE(liability->text(), QString("02/16/2005"));
        click(&e, "cmdUpdate");
        QVERIFY(e.adding());
        QVERIFY2(messages.join("|").contains("02/15/2005") && messages.join("|").contains("03/15/2005"),
                 qPrintable(messages.join("|")));
        QCOMPARE(everyRow(), before);
        messages.clear();
        type(liability, "02/15/2005");
        click(&e, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QVERIFY(!e.adding());
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 2);
        QCOMPARE(e.value("Due Date Of Liability").toDate(), QDate(2005, 2, 15));

        // A date picked from the list the field offers is saved as one typed is.
        click(&e, "cmdEdit");
        emit liability->completer()->activated("03/15/2005");
        QCOMPARE(liability->text(), QString("03/15/2005"));
        QCoreApplication::processEvents();
        e.findChild<QPushButton*>("cmdUpdate")->setFocus(); // the field left, as a click on Save leaves it
        click(&e, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QCOMPARE(e.value("Due Date Of Liability").toDate(), QDate(2005, 3, 15));
    }

    // The form opens on its list; there Home and End go to the first and the last record, the arrows step.
    void theListTakesTheRecordKeys() {
        RateEditor e(RateKinds::underpayment(), context(0, ""));
        activate(&e);
        QTableView* view = e.recordList()->view();
        QCOMPARE(QApplication::focusWidget(), view);
        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(e.position(), e.rowCount() - 1);
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(e.position(), e.rowCount() - 2);
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(e.position(), 0);
        QCOMPARE(e.field(0)->text(), QString("01/01/2026"));
    }

    // The rate forms check a row as a rates file's row is checked.
    void rateRowsAreChecked() {
        RateEditor e(RateKinds::underpayment(), context(0, ""));
        activate(&e);
        const QString before = everyRow();
        const int rows = e.rowCount();
        auto addRow = [&](const QString& begins, const QString& ends, const QString& rate) {
            messages.clear();
            questions.clear();
            if (!e.adding())
                click(&e, "cmdAdd");
            type(e.field(0), begins);
            type(e.field(1), ends);
            type(e.field(2), rate);
            click(&e, "cmdUpdate");
        };
        // 7 for 7 %: asked; No keeps the form open with nothing written.
        answer = false;
        addRow("01/01/2031", "03/31/2031", "7");
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions[0].contains("Did you mean 7 %?"), qPrintable(questions[0]));
        QVERIFY(e.adding());
        // A period that ends before it begins, a negative rate, an empty one: refused.
        addRow("03/31/2031", "01/01/2031", "0.07");
        QVERIFY(e.adding() && !messages.isEmpty());
        addRow("01/01/2031", "03/31/2031", "-0.07");
        QVERIFY(e.adding() && !messages.isEmpty());
        addRow("01/01/2031", "03/31/2031", "");
        QVERIFY(e.adding() && !messages.isEmpty());
        // A period already in the table: refused with the row it overlaps.
        addRow("01/01/2006", "03/31/2006", "0.05");
        QVERIFY(e.adding());
        QVERIFY2(messages.join("|").contains("2006"), qPrintable(messages.join("|")));
        QCOMPARE(everyRow(), before);
        // 7 with Yes: stored as 7 %.
        answer = true;
        addRow("01/01/2031", "03/31/2031", "7");
        QVERIFY(!e.adding());
        QCOMPARE(e.rowCount(), rows + 1);
        QCOMPARE(e.value("Interest Rate").toDouble(), 0.07);
        QCOMPARE(e.field(2)->text(), QString("7.00%"));
        QCOMPARE(count("SELECT COUNT(*) FROM [Interest Table]"), rows + 1);
    }

    // No menu or form has two items on one mnemonic.
    void mnemonicsAreUnique() {
        const int n = addPayrollCase();
        std::vector<QWidget*> windows;
        for (const QString& kind : editorKinds())
            windows.push_back(makeEditor(kind, context(n, "Payroll Co, 1st quarter 2005", true)));
        for (QWidget* w : windows) {
            auto letter = [](const QString& text) {
                for (int at = 0; at + 1 < text.size(); ++at) {
                    if (text[at] != '&')
                        continue;
                    if (text[at + 1] != '&')
                        return text[at + 1].toLower();
                    ++at; // "&&" is an ampersand shown
                }
                return QChar();
            };
            QStringList seen;
            for (auto* b : w->findChildren<QAbstractButton*>())
                if (const QChar c = letter(b->text()); !c.isNull()) {
                    QVERIFY2(!seen.contains(c), qPrintable(w->objectName() + ": " + b->text()));
                    seen << c;
                }
            for (auto* menu : w->findChildren<QMenu*>()) {
                QStringList inMenu;
                for (auto* a : menu->actions())
                    if (const QChar c = letter(a->text()); !c.isNull()) {
                        QVERIFY2(!inMenu.contains(c), qPrintable(w->objectName() + ": " + a->text()));
                        inMenu << c;
                    }
            }
            delete w;
        }
    }

    // Closing by Escape from any control hands back once, never while a row is being changed; deleting the last
    // row says so.
    void closingAndDeletingTheLastRow() {
        const int n = addTaxpayer("Closing");
        PaymentEditor e(context(n, "Closing"));
        activate(&e);
        QSignalSpy handedBack(&e, &RecordEditor::closedEditor);
        auto* calc = e.findChild<QPushButton*>("cmdCalcBal");
        click(&e, "cmdAdd");
        calc->setFocus();
        QTest::keyClick(calc, Qt::Key_Escape);
        QVERIFY(e.isVisible() && e.adding()); // asked, and No keeps the record
        QCOMPARE(handedBack.count(), 0);
        type(e.field(1), "06/01/2005");
        answer = true; // the allocations left at zero
        click(&e, "cmdUpdate");
        answer = false;
        click(&e, "cmdDelete");
        QVERIFY(messages.isEmpty());
        QVERIFY2(e.noteText().startsWith("Deleted the payment 06/01/2005"), qPrintable(e.noteText()));
        QVERIFY(!e.findChild<QPushButton*>("cmdDelete")->isEnabled()); // nothing left to delete
        calc->setFocus();
        QTest::keyClick(calc, Qt::Key_Escape);
        QVERIFY(!e.isVisible());
        QCOMPARE(handedBack.count(), 1);
    }

    void anEditedRateStaysCurrent() {
        RateEditor e(RateKinds::overpayment(), context(0, ""));
        activate(&e);
        click(&e, "cmdNext");
        click(&e, "cmdNext");
        const QString begins = e.field(0)->text();
        click(&e, "cmdEdit");
        type(e.field(2), "0.0725");
        click(&e, "cmdUpdate");
        QCOMPARE(e.position(), 2);
        QCOMPARE(e.field(0)->text(), begins);
        QCOMPARE(e.field(2)->text(), QString("7.25%"));
    }

    void saveAndRetrieveDialogs() {
        const int n = addTaxpayer("Moving");
        const QString target = dataDir.filePath("moving.mdb");
        FileDialogs::setNextAnswer([target](const QString&) { return target; });
        QPointer<SaveTaxpayerDialog> save = new SaveTaxpayerDialog(newpath());
        save->saveTaxpayer(n);
        QVERIFY(QFile::exists(target));
        QTRY_VERIFY(!save || !save->isVisible()); // closed, and deleted on closing
        // The same number back into the same database: refused, nothing copied.
        auto* retrieve = new RetrieveTaxpayerDialog(newpath());
        QVERIFY(retrieve->hasFile());
        QCOMPARE(retrieve->findChild<QLineEdit*>("txtFields0")->text(), QString("Moving"));
        retrieve->copyTaxpayer();
        QCOMPARE(retrieve->findChild<QLabel*>("lblRefusal")->text(),
                 QString("Cannot copy this taxpayer.\nA taxpayer with this number already exists."));
        QVERIFY(!retrieve->findChild<QPushButton*>("Command1")->isEnabled());
        QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data]"), 1);
        retrieve->close();

        // The empty template itself is never a save's target.
        const QString templateFile = dataDir.filePath("kelvaSav.mdb");
        FileDialogs::setNextAnswer([templateFile](const QString&) { return templateFile; });
        auto* again = new SaveTaxpayerDialog(newpath());
        again->saveTaxpayer(n);
        QVERIFY2(messages.size() == 2, qPrintable(messages.join("|")));
        QVERIFY2(messages[0].startsWith("Taxpayer " + QString::number(n) + ", Moving, was saved to "),
                 qPrintable(messages[0]));
        // Refused inside the chooser, which stays open; the same answer again is taken as a cancel.
        QVERIFY2(messages[1].contains(templateFile) && messages[1].endsWith("Choose another name."),
                 qPrintable(messages[1]));
        QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data]"), 1);
        SqliteDatabase check(templateFile, SqliteDatabase::Mode::ReadOnly);
        QCOMPARE(check.query("select * from [Basic Taxpayer Data]").size(), 0);
        FileDialogs::setNextAnswer({});
    }

    // After Add the focus is in the new record's first field; after Save, Cancel or Delete it is on Add, where a
    // stray Space starts a new record instead of deleting the one just saved.
    void focusAfterEachButton() {
        const int n = addTaxpayer("Focus");
        PaymentEditor e(context(n, "Focus"));
        activate(&e);
        auto* add = e.findChild<QPushButton*>("cmdAdd");
        click(&e, "cmdAdd");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.field(1)));
        type(e.field(1), "07/01/2005");
        click(&e, "cmdUpdate");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(add));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(e.adding());
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 1);
        click(&e, "cmdCancel");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(add));
        click(&e, "cmdEdit");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.field(1)));
        click(&e, "cmdUpdate");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(add));
        click(&e, "cmdDelete");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(add));
    }

    // The close button while a record is being typed asks; No keeps the record, Yes drops it as Cancel does.
    void closingWhileTyping() {
        const int n = addTaxpayer("Typing");
        QPointer<PaymentEditor> e = new PaymentEditor(context(n, "Typing"));
        activate(e);
        QSignalSpy handedBack(e.data(), &RecordEditor::closedEditor);
        click(e, "cmdAdd");
        type(e->field(1), "07/01/2005");
        QVERIFY(!e->close());
        QCOMPARE(questions, QStringList{RecordEditor::dropQuestion});
        QVERIFY(e->isVisible() && e->adding());
        QCOMPARE(e->field(1)->text(), QString("07/01/2005"));
        answer = true;
        QVERIFY(e->close());
        QCOMPARE(handedBack.count(), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 0);
    }

    // Save stores what was typed, not the shorter display text; a field left untouched keeps its stored value.
    void savesTheValueNotTheDisplay() {
        RateEditor rates(RateKinds::underpayment(), context(0, ""));
        activate(&rates);
        click(&rates, "cmdEdit");
        type(rates.field(2), "0.07125");
        rates.field(0)->setFocus();
        QCOMPARE(rates.field(2)->text(), QString("7.12%")); // two decimals, half to even
        click(&rates, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        const QString rate = "SELECT [Interest Rate] FROM [Interest Table] WHERE [Beginning Date]='2026-01-01'";
        auto stored = [this](const QString& sql) {
            SqliteDatabase db(mainFile(), SqliteDatabase::Mode::ReadOnly);
            return db.queryNative(sql).value(0, 0).toDouble();
        };
        QCOMPARE(stored(rate), 0.07125);
        click(&rates, "cmdEdit");
        rates.field(2)->setFocus();
        rates.field(0)->setFocus();
        click(&rates, "cmdUpdate");
        QCOMPARE(stored(rate), 0.07125);

        const int n = addTaxpayer("Exact");
        {
            SqliteDatabase db(mainFile());
            db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],"
                    "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest]) "
                    "VALUES(" +
                    SqlText::whole(n) + ",'Payment',#7/1/2005#,1234.565,1234.565,0,0)");
        }
        PaymentEditor e(context(n, "Exact"));
        activate(&e);
        QCOMPARE(e.field(2)->text(), QString("1,234.56"));
        click(&e, "cmdEdit");
        for (int i : {2, 3, 4})
            e.field(i)->setFocus();
        click(&e, "cmdUpdate");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QCOMPARE(stored("SELECT [Amount Of Payment] FROM [Payment Table]"), 1234.565);
        QCOMPARE(stored("SELECT [Payment Allocated To Tax] FROM [Payment Table]"), 1234.565);
    }

    void aTaxpayerNeedsAName() {
        TaxpayerEditor e(context(0, ""));
        activate(&e);
        for (const char* name : {"", "   "}) {
            messages.clear();
            click(&e, "cmdAdd");
            type(e.field(0), name);
            type(e.field(3), "04/15/2005");
            click(&e, "cmdUpdate");
            QCOMPARE(messages, QStringList{"The Taxpayer Name is required. Enter it, or cancel."});
            QVERIFY(e.adding());
            QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data]"), 0);
            click(&e, "cmdCancel");
        }
    }

    // The balances of a payment being added or edited are those it will have once saved, at the typed date;
    // nothing is written meanwhile.
    void balancesOfAPaymentBeingTyped() {
        const int n = addTaxpayer("Balances");
        PaymentEditor e(context(n, "Balances"));
        activate(&e);
        auto balances = [&e] { return QStringList{e.balance(2), e.balance(3), e.balance(4)}; };
        const int height = e.height();
        click(&e, "cmdAdd");
        type(e.field(1), "07/10/2005");
        type(e.field(2), "1000");
        type(e.field(3), "600");
        type(e.field(4), "300");
        type(e.field(5), "100");
        click(&e, "cmdCalcBal");
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join("|")));
        QVERIFY(e.balancesShown());
        const QStringList typed = balances();
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table]"), 0);
        QVERIFY(e.adding());
        click(&e, "cmdUpdate");
        click(&e, "cmdCalcBal");
        QCOMPARE(balances(), typed);
        QCOMPARE(typed[0], QString("9,400.00"));

        click(&e, "cmdEdit");
        type(e.field(1), "10/10/2005");
        click(&e, "cmdCalcBal");
        const QStringList moved = balances();
        QVERIFY(moved != typed);
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table] WHERE [Date Of Payment]='2005-07-10'"), 1);
        click(&e, "cmdUpdate");
        click(&e, "cmdCalcBal");
        QCOMPARE(balances(), moved);
        e.first(); // the balances hide and leave no gap
        QVERIFY(!e.balancesShown());
        QCOMPARE(e.height(), height);
    }

    // Every control of the payment form takes the navigation keys (a list keeps the keys it moves by); pasted text
    // is filtered as typed text.
    void navigationKeysAndPaste() {
        const int n = addTaxpayer("Keys Co", true);
        {
            SqliteDatabase db(mainFile());
            for (const char* due : {"#2/15/2005#", "#3/15/2005#"})
                db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],"
                        "[Required Deposit]) VALUES(" +
                        SqlText::whole(n) + ",'Liability'," + due + ",100)");
            for (const char* paid : {"#2/16/2005#", "#3/16/2005#"})
                db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],"
                        "[Payment Allocated To Tax]) VALUES(" +
                        SqlText::whole(n) + ",'Payment'," + paid + ",100,100)");
        }
        PaymentEditor e(context(n, "Keys Co", true));
        activate(&e);
        QCOMPARE(e.position(), 0);
        auto* calc = e.findChild<QPushButton*>("cmdCalcBal");
        calc->setFocus();
        QTest::keyClick(calc, Qt::Key_Down);
        QCOMPARE(e.position(), 1);
        auto* name = e.findChild<QLineEdit*>("Text1");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Home); // the cursor's key in a text field
        QCOMPARE(e.position(), 1);
        QTest::keyClick(name, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(e.position(), 0);
        auto* list = e.findChild<QListWidget*>("DataList1");
        list->setFocus();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(e.position(), 0);

        click(&e, "cmdAdd");
        e.field(2)->setFocus();
        e.field(2)->selectAll();
        // What a paste does (the offscreen platform has no clipboard): the text is inserted as the user's edit.
        e.field(2)->insert("1,2a3.4-5x");
        QCOMPARE(e.field(2)->text(), QString("123.4-5"));
        QVERIFY(e.field(2)->isModified());
        click(&e, "cmdCancel");
    }

    // The save dialog proposes the taxpayer's name as the file, in the documents folder (later in the folder of the
    // last save), completes a name typed without ".mdb" and says where the file went; a refused target is said while
    // the chooser opens again, at the refused name.
    void saveProposesTheTaxpayersName() {
        const int n = addTaxpayer("O'Brien / Sons: 2005?");
        QString proposed;
        QTemporaryDir elsewhere;
        const QString typed = elsewhere.filePath("typed");
        FileDialogs::setNextAnswer([&proposed, typed](const QString& p) {
            proposed = p;
            return typed;
        });
        QPointer<SaveTaxpayerDialog> save = new SaveTaxpayerDialog(newpath());
        save->show();
        save->saveTaxpayer(n);
        QCOMPARE(QFileInfo(proposed).fileName(), QString("O'Brien _ Sons_ 2005_.mdb"));
        QVERIFY(QFileInfo(proposed).absolutePath() !=
                QFileInfo(dataDir.filePath("kelvaSav.mdb")).absolutePath()); // not the data folder
        QVERIFY(QFile::exists(typed + ".mdb"));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("was saved to " + typed + ".mdb"), qPrintable(messages[0]));
        QCOMPARE(Settings::recentFiles().value(0), typed + ".mdb");
        QTRY_VERIFY(!save || !save->isVisible());
        messages.clear();

        const QString templateFile = dataDir.filePath("kelvaSav.mdb");
        const QString missingFolder = elsewhere.filePath("no such folder/x.mdb");
        QStringList offered;
        QStringList answers = {templateFile, missingFolder, elsewhere.filePath("second")};
        FileDialogs::setNextAnswer([&offered, &answers](const QString& p) {
            offered << p;
            return answers.takeFirst();
        });
        QPointer<SaveTaxpayerDialog> again = new SaveTaxpayerDialog(newpath());
        again->show();
        again->saveTaxpayer(n);
        QCOMPARE(offered.size(), 3);
        QCOMPARE(QFileInfo(offered[0]).absolutePath(), elsewhere.path()); // the folder of the last save
        QCOMPARE(offered[1], templateFile);                               // opened again at the refused name
        QCOMPARE(messages.size(), 3);
        QVERIFY2(messages[0].contains("is never overwritten"), qPrintable(messages[0]));
        QVERIFY2(messages[1].contains("does not exist"), qPrintable(messages[1]));
        QVERIFY(messages[2].contains("was saved to"));
        QVERIFY(QFile::exists(elsewhere.filePath("second.mdb")));
        FileDialogs::setNextAnswer({});
    }

    // A taxpayer whose number is taken comes in under a new number when the user says so.
    // A name with a dot of its own gets ".mdb" too, and a file of that name is not replaced without a question.
    void aDottedNameAsksBeforeReplacing() {
        const int n = addTaxpayer("J. Smith");
        const QString typed = dataDir.filePath("J. Smith");
        QFile existing(typed + ".mdb");
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("kept");
        existing.close();
        FileDialogs::setNextAnswer([typed](const QString&) { return typed; });
        auto* save = new SaveTaxpayerDialog(newpath());
        save->saveTaxpayer(n);
        FileDialogs::setNextAnswer({});
        QVERIFY(!questions.isEmpty());
        QVERIFY2(questions[0].contains("J. Smith.mdb already exists"), qPrintable(questions[0]));
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("kept"));
        save->close();
    }

    void retrieveUnderANewNumber() {
        const int n = addTaxpayer("Twice Over");
        {
            SqliteDatabase db(mainFile());
            db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
                    "[Amount Of Payment],[Payment Allocated To Tax]) VALUES(" +
                    SqlText::whole(n) + ",'Twice Over','Payment',#2/25/2005#,1000,1000)");
        }
        QTemporaryDir elsewhere;
        const QString file = elsewhere.filePath("twice.mdb");
        TaxpayerTransfer::save(mainFile(), dataDir.filePath("kelvaSav.mdb"), file, n);
        answer = true;
        auto* retrieve = new RetrieveTaxpayerDialog(newpath(), nullptr, file);
        QVERIFY(retrieve->hasFile());
        retrieve->copyTaxpayer();
        QCOMPARE(questions, QStringList{TaxpayerTransfer::numberExists + " " + TaxpayerTransfer::newNumberOffer});
        QCOMPARE(count("SELECT COUNT(*) FROM [Basic Taxpayer Data] WHERE [Taxpayer Name]='Twice Over'"), 2);
        const int given = count("SELECT MAX([Taxpayer Number]) FROM [Basic Taxpayer Data]");
        QVERIFY(given > n);
        // Its payment came with it, under the new number; the one already there kept its own.
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table] WHERE [Taxpayer Number]=" + QString::number(given)), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM [Payment Table] WHERE [Taxpayer Number]=" + QString::number(n)), 1);
        QVERIFY(retrieve->findChild<QLabel*>("lblRefusal")->isHidden());
        retrieve->close();

        // The next retrieve opens where the last file came from, not in the program's own data folder.
        Settings::addRecentFile(file);
        QString openedIn;
        FileDialogs::setNextAnswer([&openedIn](const QString& folder) {
            openedIn = folder;
            return QString();
        });
        auto* next = new RetrieveTaxpayerDialog(newpath());
        FileDialogs::setNextAnswer({});
        QCOMPARE(openedIn, elsewhere.path());
        QVERIFY(!next->hasFile());
        next->close();
    }
};

QTEST_MAIN(EditorTest)
#include "EditorTest.moc"
