// Makes the sample cases the program ships with, as transfer files written by the program's own Save: an
// income-tax return filed late and a payroll-tax quarter with late and missing deposits.
//
//   talvoro-mksamples --template kelvaSav.mdb --main kelvadat.mdb --out FOLDER

#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

const char* incomeTaxCase[] = {
    "INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],"
    "[Extended Due Date Of Return],[Date Return Filed],[End Date],[Initial Balance],"
    "[Calculate Failure To File Penalty],[Calculate Failure To Pay Penalty],"
    "[Assessment Date For Failure To Pay Penalty],[Calculate Increased Failure To Pay Penalty],"
    "[Date To Begin Increased Failure To Pay Penalty],[Calculate Accuracy Related Penalty],"
    "[Accuracy Related Underpayment]) VALUES(9001,'Sample - 2004 Form 1040 filed late',#4/15/2005#,#8/15/2005#,"
    "#10/20/2005#,#6/30/2006#,10000,1,1,#12/1/2005#,1,#3/1/2006#,1,2000)",
    "INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],"
    "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest]) VALUES(9001,"
    "'Sample - 2004 Form 1040 filed late','Payment',#7/10/2005#,1000,600,300,100)",
    "INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],"
    "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest]) VALUES(9001,"
    "'Sample - 2004 Form 1040 filed late','Payment',#1/17/2006#,2000,1500,300,200)",
    "INSERT INTO [Additional Charges]([Taxpayer Number],[Taxpayer Name],[Event],[Description],"
    "[Date Liability Incurred],[Date Interest Starts],[Total Amount of Charge],[Charge Classified As Tax],"
    "[Charge Classified As Penalty],[Charge Unclassified]) VALUES(9001,'Sample - 2004 Form 1040 filed late',"
    "'Other Charge','Notice of additional tax',#8/20/2005#,#9/1/2005#,575,500,50,25)",
};

const char* payrollCase[] = {
    "INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Start Date],[Original Due Date Of Return],"
    "[Extended Due Date Of Return],[Date Return Filed],[End Date],[Initial Balance],[Payroll Tax Situation]) "
    "VALUES(9002,'Sample - Form 941, 1st quarter 2005',#1/1/2005#,#4/30/2005#,#4/30/2005#,#4/30/2005#,#12/31/2005#,"
    "0,1)",
    "INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],[Deposit Due Date],"
    "[Assessment Date],[Required Deposit],[Sec 6656(b)(1)(B)]) VALUES(9002,'Sample - Form 941, 1st quarter 2005',"
    "'Liability',#2/15/2005#,#6/1/2005#,1000,0)",
    "INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],[Deposit Due Date],"
    "[Assessment Date],[Required Deposit],[Sec 6656(b)(1)(B)]) VALUES(9002,'Sample - Form 941, 1st quarter 2005',"
    "'Liability',#3/15/2005#,#6/1/2005#,2000,1)",
    "INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],[Deposit Due Date],"
    "[Assessment Date],[Required Deposit],[Sec 6656(b)(1)(B)]) VALUES(9002,'Sample - Form 941, 1st quarter 2005',"
    "'Liability',#4/15/2005#,#6/1/2005#,1500,0)",
    "INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],"
    "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest],"
    "[Due Date Of Liability]) VALUES(9002,'Sample - Form 941, 1st quarter 2005','Payment',#2/18/2005#,1000,1000,0,0,"
    "#2/15/2005#)",
    "INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],"
    "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest],"
    "[Due Date Of Liability]) VALUES(9002,'Sample - Form 941, 1st quarter 2005','Payment',#3/25/2005#,2000,2000,0,0,"
    "#3/15/2005#)",
    "INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],"
    "[Payment Allocated To Tax],[Payment Allocated To Penalties],[Payment Allocated To Interest],"
    "[Due Date Of Liability]) VALUES(9002,'Sample - Form 941, 1st quarter 2005','Payment',#5/10/2005#,600,600,0,0,"
    "#4/15/2005#)",
};

template <size_t N>
void writeSample(const QString& folder, const QString& templateFile, const QString& mainFile,
                 const char* const (&statements)[N], int number, const QString& name) {
    {
        SqliteDatabase db(mainFile);
        Transaction t(db);
        for (const char* s : statements)
            db.exec(QString::fromUtf8(s));
        t.commit();
    }
    TaxpayerTransfer::save(mainFile, templateFile, QDir(folder).filePath(name), number);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString templateFile, mainFile, out;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--template"))
            templateFile = args[i + 1];
        else if (args[i] == QLatin1String("--main"))
            mainFile = args[i + 1];
        else if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
    }
    if (templateFile.isEmpty() || mainFile.isEmpty() || out.isEmpty()) {
        QTextStream(stderr) << "usage: talvoro-mksamples --template kelvaSav.mdb --main kelvadat.mdb --out FOLDER\n";
        return 2;
    }
    QTemporaryDir work;
    const QString scratch = work.filePath(QStringLiteral("kelvadat.mdb"));
    QDir().mkpath(out);
    try {
        if (!QFile::copy(mainFile, scratch))
            throw StoreError(QStringLiteral("cannot copy %1").arg(mainFile));
        QFile::setPermissions(scratch, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        writeSample(out, templateFile, scratch, incomeTaxCase, 9001, QStringLiteral("income-tax-sample.mdb"));
        writeSample(out, templateFile, scratch, payrollCase, 9002, QStringLiteral("payroll-sample.mdb"));
    } catch (const StoreError& e) {
        QTextStream(stderr) << "talvoro-mksamples: " << e.message() << '\n';
        return 1;
    }
    return 0;
}
