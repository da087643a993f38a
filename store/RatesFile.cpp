#include "RatesFile.h"

#include "StoreError.h"

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
        rates.push_back(r);
    }
    return rates;
}
