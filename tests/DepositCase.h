#pragma once

#include "CaseReader.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "TestSupport.h"

// A payroll-tax quarter in a fresh data directory, built row by row.
class PayrollCase {
public:
    DataDir dir;
    SqliteDatabase db{dir.mainFile()};
    int number = 0;

    explicit PayrollCase(const QDate& end = QDate(2005, 12, 31), const QString& name = QStringLiteral("Payroll Co")) {
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Start Date],[Original Due Date Of Return],"
                "[End Date],[Payroll Tax Situation],[Initial Balance]) VALUES(" +
                SqlText::quote(name) + ",#1/1/2005#,#4/30/2005#," + SqlText::date(end) + ",1,0)");
        number = db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
    }
    void deposit(const QDate& due, double amount, bool sec15 = false, const QDate& assessed = QDate(2005, 6, 1)) {
        db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],"
                "[Assessment Date],[Required Deposit],[Sec 6656(b)(1)(B)]) VALUES(" +
                SqlText::whole(number) + ",'Liability'," + SqlText::date(due) + "," + SqlText::date(assessed) + "," +
                SqlText::dbl(amount) + "," + (sec15 ? "1" : "0") + ")");
    }
    void payment(const QDate& paid, double toTax, const QDate& liability, double toPenalties = 0) {
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],"
                "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Due Date Of Liability]) VALUES(" +
                SqlText::whole(number) + ",'Payment'," + SqlText::date(paid) + "," + SqlText::dbl(toTax + toPenalties) +
                "," + SqlText::dbl(toTax) + "," + SqlText::dbl(toPenalties) + "," +
                (liability.isValid() ? SqlText::date(liability) : QStringLiteral("NULL")) + ")");
    }
    TaxpayerCase taxpayer() { return *CaseReader(db).read(number); }
};
