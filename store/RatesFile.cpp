#include "RatesFile.h"

#include "Database.h"
#include "DateMath.h"
#include "Names.h"
#include "RateCheck.h"
#include "Statements.h"
#include "StoreError.h"

#include "Schema.h"
#include "WholeFile.h"

#include <QStringList>

#include <QByteArrayView>

#include <algorithm>
#include <charconv>

namespace {

const QString dateFormat = QStringLiteral("MM/dd/yyyy");

// The lines of a data file read whole (a regular file of bounded size).
QStringList linesOf(const QString& csvFile, const QString& what) {
    return QString::fromUtf8(readRegularFile(csvFile, dataFileLimit, what)).split(QLatin1Char('\n'));
}

} // namespace

namespace {

// A cell of a line as bytes, its blanks around it left out.
QByteArrayView trimmed(QByteArrayView cell) {
    while (!cell.isEmpty() && (cell.front() == ' ' || cell.front() == '\t' || cell.front() == '\r'))
        cell = cell.sliced(1);
    while (!cell.isEmpty() && (cell.back() == ' ' || cell.back() == '\t' || cell.back() == '\r'))
        cell.chop(1);
    return cell;
}

// A number as the rates file writes it ("0.07"); anything else is not one.
bool numberOf(QByteArrayView cell, double* value) {
    cell = trimmed(cell);
    if (cell.isEmpty())
        return false;
    const char* end = cell.data() + cell.size();
    const auto parsed = std::from_chars(cell.data(), end, *value);
    if (parsed.ec == std::errc() && parsed.ptr == end)
        return true;
    bool ok = false;
    *value = QString::fromUtf8(cell).toDouble(&ok);
    return ok;
}

QDate dateOf(QByteArrayView cell) {
    const QDate d = DateMath::fromIso(trimmed(cell));
    return d.isValid() ? d : QDate::fromString(QString::fromUtf8(cell), Qt::ISODate);
}

} // namespace

std::vector<PublishedRate> readPublishedRates(const QString& csvFile) {
    // Read as bytes and cut in place: a file of a hundred thousand periods is read in a few dozen milliseconds.
    const QByteArray bytes = readRegularFile(csvFile, dataFileLimit, QStringLiteral("rates file"));
    const QByteArrayView all(bytes);
    qsizetype at = 0;
    auto nextLine = [&all, &at]() {
        const qsizetype end = all.indexOf('\n', at);
        const QByteArrayView line = all.sliced(at, (end < 0 ? all.size() : end) - at);
        at = end < 0 ? all.size() + 1 : end + 1;
        return trimmed(line);
    };
    const QStringList header = QString::fromUtf8(nextLine()).split(QLatin1Char(','));
    const int begin = header.indexOf(QStringLiteral("begin"));
    const int end = header.indexOf(QStringLiteral("end"));
    std::vector<int> columnOf; // each kind's column
    QStringList needed = {QStringLiteral("begin"), QStringLiteral("end")};
    bool complete = begin >= 0 && end >= 0;
    for (const auto& kind : RateKinds::all()) {
        columnOf.push_back(int(header.indexOf(kind.csvColumn)));
        if (kind.everyPeriod) {
            needed << kind.csvColumn;
            complete = complete && columnOf.back() >= 0;
        }
    }
    if (!complete)
        throw StoreError(QStringLiteral("The rates file \"%1\" lacks one of the columns %2.")
                             .arg(csvFile, needed.join(QStringLiteral(", "))));

    std::vector<PublishedRate> rates;
    std::vector<int> lineOf; // the file's line of each period
    const auto fail = [&csvFile](int lineNumber, const QString& what) {
        return StoreError(QStringLiteral("%1, line %2: %3").arg(csvFile).arg(lineNumber).arg(what));
    };
    std::vector<QByteArrayView> cells;
    for (int lineNumber = 2; at <= all.size(); ++lineNumber) {
        const QByteArrayView line = nextLine();
        if (line.isEmpty())
            continue;
        cells.clear();
        for (qsizetype from = 0;;) {
            const qsizetype comma = line.indexOf(',', from);
            cells.push_back(line.sliced(from, (comma < 0 ? line.size() : comma) - from));
            if (comma < 0)
                break;
            from = comma + 1;
        }
        if (qsizetype(cells.size()) < header.size())
            throw fail(lineNumber, QStringLiteral("too few columns"));
        PublishedRate r;
        r.begin = dateOf(cells[size_t(begin)]);
        r.end = dateOf(cells[size_t(end)]);
        if (!r.begin.isValid() || !r.end.isValid() || r.end < r.begin)
            throw fail(lineNumber, QStringLiteral("the period's dates are not valid"));
        for (size_t k = 0; k < columnOf.size(); ++k) {
            const RateKind& kind = RateKinds::all()[k];
            const int at = columnOf[k];
            if (at < 0 || (!kind.everyPeriod && trimmed(cells[size_t(at)]).isEmpty())) {
                r.rates.push_back(std::nullopt);
                continue;
            }
            double rate = 0;
            if (!numberOf(cells[size_t(at)], &rate))
                throw fail(lineNumber, kind.everyPeriod ? QStringLiteral("a rate is missing or not a number")
                                                        : QStringLiteral("the %1 rate is not a number").arg(kind.name));
            if (const QString why = RateCheck::refusal(rate); !why.isEmpty())
                throw fail(lineNumber, why);
            r.rates.push_back(rate);
        }
        rates.push_back(r);
        lineOf.push_back(lineNumber);
    }
    if (rates.empty())
        throw StoreError(QStringLiteral("The rates file \"%1\" holds no period.").arg(csvFile));

    // In date order, each period must begin the day after the one before ends: an overlap would give two rates for
    // a day, a gap none (found only by a run that needs it).
    std::vector<size_t> order(rates.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&rates](size_t a, size_t b) { return rates[a].begin < rates[b].begin; });
    for (size_t k = 1; k < order.size(); ++k) {
        const PublishedRate& before = rates[order[k - 1]];
        const PublishedRate& r = rates[order[k]];
        const int line = std::max(lineOf[order[k - 1]], lineOf[order[k]]);
        const PublishedRate& other = lineOf[order[k]] == line ? before : r;
        if (r.begin <= before.end)
            throw fail(line, QStringLiteral("the period overlaps the one from %1 to %2")
                                 .arg(other.begin.toString(dateFormat), other.end.toString(dateFormat)));
        if (r.begin > before.end.addDays(1))
            throw fail(lineOf[order[k]],
                       QStringLiteral("the period from %1 to %2 leaves a gap after the one ending "
                                      "%3: no rate is given from %4 to %5")
                           .arg(r.begin.toString(dateFormat), r.end.toString(dateFormat),
                                before.end.toString(dateFormat), before.end.addDays(1).toString(dateFormat),
                                r.begin.addDays(-1).toString(dateFormat)));
    }
    return rates;
}

std::vector<PublishedMinimum> readFailureToFileMinimums(const QString& csvFile) {
    const QStringList lines = linesOf(csvFile, QStringLiteral("file"));
    const QStringList header = lines.value(0).trimmed().split(QLatin1Char(','));
    const int year = header.indexOf(QStringLiteral("first_year"));
    const int amount = header.indexOf(QStringLiteral("amount"));
    if (year < 0 || amount < 0)
        throw StoreError(QStringLiteral("The file \"%1\" lacks one of the columns first_year, amount.").arg(csvFile));
    std::vector<PublishedMinimum> minimums;
    for (int n = 1; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        bool okYear = false, okAmount = false;
        PublishedMinimum m;
        if (cells.size() >= header.size()) {
            m.firstYear = cells[year].toInt(&okYear);
            m.amount = cells[amount].toDouble(&okAmount);
        }
        if (!okYear || !okAmount || !(m.amount >= 0 && m.amount <= Schema::largestAmount) ||
            (!minimums.empty() && m.firstYear <= minimums.back().firstYear))
            throw StoreError(QStringLiteral("%1, line %2: a year (rising from line to line) and an amount are needed")
                                 .arg(csvFile)
                                 .arg(n + 1));
        minimums.push_back(m);
    }
    if (minimums.empty())
        throw StoreError(QStringLiteral("The file \"%1\" holds no minimum.").arg(csvFile));
    return minimums;
}

std::optional<double> PublishedRate::rateOf(const RateKind& kind) const {
    const int i = RateKinds::indexOf(kind);
    return i >= 0 && size_t(i) < rates.size() ? rates[size_t(i)] : std::nullopt;
}

void insertPublishedRates(Database& db, const std::vector<PublishedRate>& rates,
                          const std::vector<const RateKind*>& kinds) {
    for (const auto& kind : RateKinds::all()) {
        if (!kinds.empty() && std::find(kinds.begin(), kinds.end(), &kind) == kinds.end())
            continue;
        std::vector<QVariantList> rows;
        for (const auto& r : rates)
            if (const auto rate = r.rateOf(kind))
                rows.push_back({r.begin, r.end, *rate});
        db.insertRows(kind.table, {Columns::beginningDate, Columns::endingDate, Columns::interestRate}, rows);
    }
}

void insertFailureToFileMinimums(Database& db, const std::vector<PublishedMinimum>& minimums) {
    for (const auto& m : minimums)
        db.exec(Sql::insertFailureToFileMinimum(m.firstYear, m.amount));
}
