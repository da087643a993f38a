#include "RatesFile.h"

#include "Database.h"
#include "Names.h"
#include "Statements.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextStream>

std::vector<PublishedRate> readPublishedRates(const QString& csvFile) {
    QFile file(csvFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw StoreError(QStringLiteral("The rates file \"%1\" cannot be read.").arg(csvFile));
    QTextStream in(&file);
    const QStringList header = in.readLine().trimmed().split(QLatin1Char(','));
    const int begin = header.indexOf(QStringLiteral("begin"));
    const int end = header.indexOf(QStringLiteral("end"));
    const int under = header.indexOf(QStringLiteral("underpayment"));
    const int over = header.indexOf(QStringLiteral("overpayment_noncorp"));
    const int large = header.indexOf(QStringLiteral("large_corp_underpayment"));
    if (begin < 0 || end < 0 || under < 0 || over < 0)
        throw StoreError(QStringLiteral("The rates file \"%1\" lacks one of the columns begin, end, underpayment, "
                                        "overpayment_noncorp.")
                             .arg(csvFile));

    std::vector<PublishedRate> rates;
    int lineNumber = 1;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        const auto fail = [&](const QString& what) {
            return StoreError(QStringLiteral("%1, line %2: %3").arg(csvFile).arg(lineNumber).arg(what));
        };
        if (cells.size() < header.size())
            throw fail(QStringLiteral("too few columns"));
        PublishedRate r;
        r.begin = QDate::fromString(cells[begin], Qt::ISODate);
        r.end = QDate::fromString(cells[end], Qt::ISODate);
        if (!r.begin.isValid() || !r.end.isValid() || r.end < r.begin)
            throw fail(QStringLiteral("the period's dates are not valid"));
        bool okUnder = false, okOver = false;
        r.underpayment = cells[under].toDouble(&okUnder);
        r.overpaymentNoncorporate = cells[over].toDouble(&okOver);
        if (!okUnder || !okOver)
            throw fail(QStringLiteral("a rate is missing or not a number"));
        if (large >= 0 && !cells[large].trimmed().isEmpty()) {
            bool okLarge = false;
            r.largeCorporateUnderpayment = cells[large].toDouble(&okLarge);
            if (!okLarge)
                throw fail(QStringLiteral("the large corporate rate is not a number"));
        }
        // A rate is a decimal fraction: 7 for 7 % would charge a hundred times the interest.
        for (const double rate : {r.underpayment, r.overpaymentNoncorporate, r.largeCorporateUnderpayment.value_or(0)})
            if (!(rate >= 0 && rate < 1))
                throw fail(
                    QStringLiteral("a rate of %1 is not a decimal fraction from 0 to 1 (0.07 for 7 %)").arg(rate));
        for (const auto& earlier : rates)
            if (earlier.begin <= r.end && r.begin <= earlier.end)
                throw fail(QStringLiteral("the period overlaps the one from %1 to %2")
                               .arg(earlier.begin.toString(QStringLiteral("MM/dd/yyyy")),
                                    earlier.end.toString(QStringLiteral("MM/dd/yyyy"))));
        rates.push_back(r);
    }
    return rates;
}

std::vector<PublishedMinimum> readFailureToFileMinimums(const QString& csvFile) {
    QFile file(csvFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw StoreError(QStringLiteral("The file \"%1\" cannot be read.").arg(csvFile));
    QTextStream in(&file);
    const QStringList header = in.readLine().trimmed().split(QLatin1Char(','));
    const int year = header.indexOf(QStringLiteral("first_year"));
    const int amount = header.indexOf(QStringLiteral("amount"));
    if (year < 0 || amount < 0)
        throw StoreError(QStringLiteral("The file \"%1\" lacks one of the columns first_year, amount.").arg(csvFile));
    std::vector<PublishedMinimum> minimums;
    int lineNumber = 1;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        bool okYear = false, okAmount = false;
        PublishedMinimum m;
        if (cells.size() >= header.size()) {
            m.firstYear = cells[year].toInt(&okYear);
            m.amount = cells[amount].toDouble(&okAmount);
        }
        if (!okYear || !okAmount || m.amount < 0 || (!minimums.empty() && m.firstYear <= minimums.back().firstYear))
            throw StoreError(QStringLiteral("%1, line %2: a year (rising from line to line) and an amount are needed")
                                 .arg(csvFile)
                                 .arg(lineNumber));
        minimums.push_back(m);
    }
    return minimums;
}

void insertPublishedRates(Database& db, const std::vector<PublishedRate>& rates, bool underAndOverpayment,
                          bool largeCorporate) {
    for (const auto& r : rates) {
        if (underAndOverpayment) {
            db.exec(Sql::insertRatePeriod(Tables::underpaymentRates, r.begin, r.end, r.underpayment));
            db.exec(Sql::insertRatePeriod(Tables::overpaymentRates, r.begin, r.end, r.overpaymentNoncorporate));
        }
        if (largeCorporate && r.largeCorporateUnderpayment)
            db.exec(Sql::insertRatePeriod(Tables::largeCorporateRates, r.begin, r.end, *r.largeCorporateUnderpayment));
    }
}

void insertFailureToFileMinimums(Database& db, const std::vector<PublishedMinimum>& minimums) {
    for (const auto& m : minimums)
        db.exec(Sql::insertFailureToFileMinimum(m.firstYear, m.amount));
}

namespace DataFiles {
namespace {
QString& folder() {
    static QString f;
    return f;
}
} // namespace

QString path(const QString& name) {
    return QDir(folder().isEmpty() ? QCoreApplication::applicationDirPath() : folder()).filePath(name);
}

void setFolder(const QString& f) {
    folder() = f;
}
} // namespace DataFiles
