#include "RateTable.h"

#include "Names.h"
#include "RateCheck.h"
#include "RunStop.h"

RateTable::RateTable(const RecordSet& rows, const QString& tableName) : name(tableName) {
    for (int i = 0; i < rows.size(); ++i) {
        const QVariant& rate = rows.value(i, Columns::interestRate);
        periods.push_back({rows.value(i, Columns::beginningDate).toDate(), rows.value(i, Columns::endingDate).toDate(),
                           rate.isValid() ? std::optional<double>(rate.toDouble()) : std::nullopt});
    }
}

const RateTable::Period* RateTable::find(const QDate& date) const {
    const QString format = QStringLiteral("MM/dd/yyyy");
    const Period* found = nullptr;
    for (const auto& p : periods) {
        if (!(p.beginning.isValid() && p.ending.isValid() && p.beginning <= date && p.ending >= date))
            continue;
        // Two rows with different rates for one day would leave the rate to the order the rows happen to be stored
        // in; a repeated row changes nothing.
        if (found && found->rate != p.rate)
            throw RunStop(QStringLiteral("The %1 rate table has two rows with different rates for %2: %3 to %4 and "
                                         "%5 to %6. Delete or correct one of them.")
                              .arg(name, date.toString(format), found->beginning.toString(format),
                                   found->ending.toString(format), p.beginning.toString(format),
                                   p.ending.toString(format)));
        if (!found)
            found = &p;
    }
    if (found && found->rate && !RateCheck::acceptable(*found->rate))
        throw RunStop(QStringLiteral("The %1 rate table's row from %2 to %3: %4. Correct it.")
                          .arg(name, found->beginning.toString(format), found->ending.toString(format),
                               RateCheck::refusal(*found->rate)));
    return found;
}

QString RateTable::lacking(const QDate& date) const {
    QDate first, last;
    for (const auto& p : periods) {
        if (p.beginning.isValid() && (!first.isValid() || p.beginning < first))
            first = p.beginning;
        if (p.ending.isValid() && (!last.isValid() || p.ending > last))
            last = p.ending;
    }
    const QString format = QStringLiteral("MM/dd/yyyy");
    if (!first.isValid() || !last.isValid())
        return QStringLiteral("The %1 rate table is empty.").arg(name);
    if (date > last)
        return QStringLiteral("The %1 rate table ends on %2.").arg(name, last.toString(format));
    if (date < first)
        return QStringLiteral("The %1 rate table begins on %2.").arg(name, first.toString(format));
    return QStringLiteral("The %1 rate table has no rate for %2.").arg(name, date.toString(format));
}
