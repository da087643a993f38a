#include "InterestLaw.h"

#include "RunStop.h"

#include <QStringList>

InterestLaw parseInterestLaw(const QString& csvText, const QString& source) {
    const QStringList lines = csvText.split(QLatin1Char('\n'));
    const QString header = QStringLiteral("name,value");
    if (lines.value(0).trimmed() != header)
        throw RunStop(QStringLiteral("The file %1 does not begin with the line \"%2\".").arg(source, header));
    InterestLaw law;
    bool threshold = false, after = false, from = false;
    for (int n = 1; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        const QString name = cells.value(0).trimmed();
        const QString value = cells.value(1).trimmed();
        bool ok = cells.size() == 2;
        auto dateValue = [&](QDate* into, bool* seen) {
            *into = QDate::fromString(value, Qt::ISODate);
            ok = ok && into->isValid() && !*seen;
            *seen = true;
        };
        if (name == QLatin1String("large_corporate_overpayment_threshold")) {
            bool number = false;
            const double dollars = value.toDouble(&number);
            ok = ok && number && dollars >= 0 && dollars <= 1e9 && !threshold;
            law.largeCorporateOverpaymentThreshold = ok ? Money::fromDollars(dollars) : Money();
            threshold = true;
        } else if (name == QLatin1String("large_corporate_overpayment_periods_after")) {
            dateValue(&law.largeCorporateOverpaymentAfter, &after);
        } else if (name == QLatin1String("net_rate_periods_from")) {
            dateValue(&law.netRateFrom, &from);
        } else {
            ok = false;
        }
        if (!ok)
            throw RunStop(QStringLiteral("The file %1, line %2: a known name and its value (an amount, or a date "
                                         "YYYY-MM-DD), each name once, are needed.")
                              .arg(source)
                              .arg(n + 1));
    }
    if (!threshold || !after || !from)
        throw RunStop(QStringLiteral("The file %1 lacks one of large_corporate_overpayment_threshold, "
                                     "large_corporate_overpayment_periods_after, net_rate_periods_from.")
                          .arg(source));
    return law;
}
