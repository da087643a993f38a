#include "RateTable.h"

#include "RateCheck.h"
#include "RunStop.h"

#include <algorithm>

RateTable::RateTable(std::vector<Period> rows, const QString& tableName) : periods(std::move(rows)), name(tableName) {
    // A period without both dates, or ending before it begins, holds no day.
    for (size_t i = 0; i < periods.size(); ++i)
        if (periods[i].beginning.isValid() && periods[i].ending.isValid() && periods[i].beginning <= periods[i].ending)
            byBeginning.push_back(int(i));
    std::stable_sort(byBeginning.begin(), byBeginning.end(),
                     [this](int a, int b) { return periods[size_t(a)].beginning < periods[size_t(b)].beginning; });
    for (size_t i = 1; i < byBeginning.size() && !overlapping; ++i)
        overlapping = periods[size_t(byBeginning[i])].beginning <= periods[size_t(byBeginning[i - 1])].ending;
}

const RateTable::Period* RateTable::find(const QDate& date) const {
    const QString format = QStringLiteral("MM/dd/yyyy");
    const Period* found = nullptr;
    if (!overlapping) {
        const auto after = std::upper_bound(byBeginning.begin(), byBeginning.end(), date,
                                            [this](const QDate& d, int p) { return d < periods[size_t(p)].beginning; });
        if (after != byBeginning.begin() && periods[size_t(*(after - 1))].ending >= date)
            found = &periods[size_t(*(after - 1))];
    } else {
        for (const auto& p : periods) {
            if (!(p.beginning.isValid() && p.ending.isValid() && p.beginning <= date && p.ending >= date))
                continue;
            // Two rows with different rates for one day would leave the rate to the order the rows happen to be
            // stored in; a repeated row changes nothing.
            if (found && found->rate != p.rate)
                throw RunStop(QStringLiteral("The %1 rate table has two rows with different rates for %2: %3 to %4 "
                                             "and %5 to %6. Delete or correct one of them.")
                                  .arg(name, date.toString(format), found->beginning.toString(format),
                                       found->ending.toString(format), p.beginning.toString(format),
                                       p.ending.toString(format)));
            if (!found)
                found = &p;
        }
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
