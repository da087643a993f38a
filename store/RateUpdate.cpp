#include "RateUpdate.h"

#include "Database.h"
#include "Names.h"
#include "RateKinds.h"
#include "Statements.h"

#include <algorithm>

namespace {

const QString dateFormat = QStringLiteral("MM/dd/yyyy");

// The days a table's rows cover, as runs of days in date order (rows that overlap or meet make one run), so that
// whether a period is covered, in part or whole, is found by a binary search.
class Coverage {
public:
    explicit Coverage(std::vector<std::pair<QDate, QDate>> rows) {
        std::sort(rows.begin(), rows.end());
        for (const auto& [first, last] : rows) {
            if (!first.isValid() || !last.isValid() || last < first)
                continue;
            if (!runs.empty() && first <= runs.back().second.addDays(1))
                runs.back().second = std::max(runs.back().second, last);
            else
                runs.push_back({first, last});
        }
    }
    // Some day from `begin` to `end` is covered.
    bool touches(const QDate& begin, const QDate& end) const {
        const auto run = firstEndingOnOrAfter(begin);
        return run != runs.end() && run->first <= end;
    }
    // Every day from `begin` to `end` is covered.
    bool covers(const QDate& begin, const QDate& end) const {
        const auto run = firstEndingOnOrAfter(begin);
        return run != runs.end() && run->first <= begin && run->second >= end;
    }

private:
    std::vector<std::pair<QDate, QDate>> runs;
    std::vector<std::pair<QDate, QDate>>::const_iterator firstEndingOnOrAfter(const QDate& day) const {
        return std::lower_bound(runs.begin(), runs.end(), day,
                                [](const std::pair<QDate, QDate>& r, const QDate& d) { return r.second < d; });
    }
};

} // namespace

RateUpdate::RateUpdate(Database& database, const std::vector<PublishedRate>& published) : db(database) {
    for (const auto& p : published)
        if (!publishedLast.isValid() || p.end > publishedLast)
            publishedLast = p.end;
    for (const auto& t : RateKinds::all()) {
        const RecordSet rows = db.query(Sql::selectRatePeriods(t.table));
        std::vector<std::pair<QDate, QDate>> held;
        QDate last;
        for (int i = 0; i < rows.size(); ++i) {
            const QDate b = rows.value(i, Columns::beginningDate).toDate();
            const QDate e = rows.value(i, Columns::endingDate).toDate();
            held.push_back({b, e});
            if (e.isValid() && (!last.isValid() || e > last))
                last = e;
        }
        if (!tablesLast.isValid() || (last.isValid() && last < tablesLast))
            tablesLast = last;
        const Coverage coverage(std::move(held));
        for (const auto& p : published) {
            const auto rate = p.rateOf(t);
            if (!rate)
                continue;
            // A period is added only where no row of the table says anything.
            if (!coverage.touches(p.begin, p.end))
                missing[t.table].push_back({p, *rate});
            else if (!coverage.covers(p.begin, p.end))
                // Rows of the table cover part of the period only: left for the user to settle, and said.
                overlapping << QStringLiteral("%1 to %2 (%3)")
                                   .arg(p.begin.toString(dateFormat), p.end.toString(dateFormat), t.name);
        }
    }
}

bool RateUpdate::anythingMissing() const {
    return !missing.empty();
}

QString RateUpdate::offer(const QString& source) const {
    if (tablesLast.isValid() && tablesLast >= publishedLast)
        return QStringLiteral("The rate tables lack periods that %1 knows (to %2). Add them?")
            .arg(source, publishedLast.toString(dateFormat));
    return QStringLiteral("The rate tables end on %1; %2 knows the rates to %3. Add them?")
        .arg(tablesLast.isValid() ? tablesLast.toString(dateFormat) : QStringLiteral("no date"), source,
             publishedLast.toString(dateFormat));
}

QString RateUpdate::nothingMissing(const QString& source) const {
    return QStringLiteral("The rate tables hold every period %1 knows (to %2).")
               .arg(source, publishedLast.toString(dateFormat)) +
           partlyHeld();
}

QString RateUpdate::partlyHeld() const {
    if (overlapping.isEmpty())
        return QString();
    return QStringLiteral(" Not added, because rows of the tables cover part of them: ") +
           overlapping.join(QStringLiteral("; ")) + QLatin1Char('.');
}

QString RateUpdate::apply() {
    Transaction t(db);
    QStringList lines;
    for (const auto& table : RateKinds::all()) {
        const auto it = missing.find(table.table);
        if (it == missing.end())
            continue;
        QDate first, last;
        std::vector<QVariantList> rows;
        rows.reserve(it->second.size());
        for (const auto& [p, rate] : it->second) {
            rows.push_back({p.begin, p.end, rate});
            first = !first.isValid() || p.begin < first ? p.begin : first;
            last = !last.isValid() || p.end > last ? p.end : last;
        }
        db.insertRows(table.table, {Columns::beginningDate, Columns::endingDate, Columns::interestRate}, rows);
        lines << QStringLiteral("%1 period(s) from %2 to %3 to the %4 rate table")
                     .arg(it->second.size())
                     .arg(first.toString(dateFormat), last.toString(dateFormat), table.name);
    }
    t.commit();
    missing.clear();
    return QStringLiteral("Added ") + lines.join(QStringLiteral("; ")) + QLatin1Char('.') + partlyHeld();
}
