// Times the payment editor on a taxpayer with 20,000 payments: opening it, and moving to the last payment.
// Prints the figures; asserts nothing.
//
//   talvoro-bench-editor

#include "Editors.h"
#include "Settings.h"
#include "SqlText.h"
#include "SqliteDatabase.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("kelvadat.mdb"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvadat.mdb"), file);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    {
        SqliteDatabase db(file);
        Transaction t(db);
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Many Payments')");
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Other')");
        for (int i = 0; i < 40000; ++i)
            db.exec(QStringLiteral("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],"
                                   "[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(%1,"
                                   "'Many Payments','Payment',%2,100,100)")
                        .arg(i % 2 + 1)
                        .arg(SqlText::date(QDate(1990, 1, 1).addDays(i / 2))));
        t.commit();
    }
    QElapsedTimer clock;
    clock.start();
    PaymentEditor editor({dir.path() + QLatin1Char('/'), 1, QStringLiteral("Many Payments"), false});
    editor.show();
    QApplication::processEvents();
    const double openMs = double(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    editor.last();
    QApplication::processEvents();
    const double lastMs = double(clock.nsecsElapsed()) / 1e6;
    QTextStream(stdout) << "payment editor, 20,000 payments of 40,000: open " << QString::number(openMs, 'f', 1)
                        << " ms, to the last payment " << QString::number(lastMs, 'f', 1) << " ms ("
                        << editor.statusText() << ")\n";
    return 0;
}
