// Times the update of the rate tables from a rates file of 100,000 periods (one a day from 2026 on), twice: the first
// adds them all, the second finds nothing missing. Each counts reading and checking the file as well. Prints the
// figures; asserts nothing.
//
//   talvoro-bench-rate-update

#include "RateUpdate.h"
#include "RatesFile.h"
#include "SqliteDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString file = work.filePath(QStringLiteral("kelvadat.mdb"));
    QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kelvadat.mdb")), file);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString rates = work.filePath(QStringLiteral("rates.csv"));
    constexpr int periods = 100000;
    {
        QFile out(rates);
        out.open(QIODevice::WriteOnly);
        QTextStream text(&out);
        text << "begin,end,underpayment,overpayment_noncorp,overpayment_corp,large_corp_underpayment,"
                "corp_overpayment_over_10k\n";
        QDate day(2026, 4, 1);
        for (int i = 0; i < periods; ++i, day = day.addDays(1))
            text << day.toString(Qt::ISODate) << ',' << day.toString(Qt::ISODate) << ",0.07,0.07,0.06,0.09,0.045\n";
    }
    SqliteDatabase db(file);
    QTextStream out(stdout);
    for (const char* pass : {"first update (adds every period)", "second update (finds nothing missing)"}) {
        QElapsedTimer clock;
        clock.start();
        RateUpdate update(db, readPublishedRates(rates));
        const bool adds = update.anythingMissing();
        if (adds)
            update.apply();
        out << pass << ": " << periods << " periods in " << clock.elapsed() << " ms" << (adds ? ", added" : "")
            << Qt::endl;
    }
    return 0;
}
