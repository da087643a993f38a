#include "EventLedger.h"

#include "Balances.h"
#include "DateMath.h"

#include "Rounding.h"

#include <algorithm>

LedgerRow& EventLedger::add(const QString& event, const QDate& date, const QDate& date2) {
    LedgerRow r;
    r.event = event;
    r.date = date;
    r.date2 = date2;
    rows.push_back(std::move(r));
    return rows.back();
}

namespace {

int compareEvents(const QString& a, const QString& b) {
    // The same text (most often the same shared string) needs no comparison letter by letter.
    if (a.constData() == b.constData() && a.size() == b.size())
        return 0;
    return QString::compare(a, b, Qt::CaseInsensitive);
}

} // namespace

void EventLedger::sort(Order order) {
    const auto before = [order](const LedgerRow& a, const LedgerRow& b) {
        if (order == Order::DeleteAscDateAscEventAsc && a.isDeleted() != b.isDeleted())
            return !a.isDeleted();
        if (const int d = DateMath::compareDates(a.date, b.date); d != 0)
            return d < 0;
        const int e = compareEvents(a.event, b.event);
        return order == Order::DateAscEventDesc ? e > 0 : e < 0;
    };
    // Rows already in order (often so) cost one pass; a stable sort would leave them as they are.
    if (std::is_sorted(rows.begin(), rows.end(), before))
        return;
    // Rows in order but for their events (the order the run had before, with the events the other way) are sorted
    // day by day. Otherwise the positions are sorted. Either way the rows, which are large, are moved once.
    const auto dayBefore = [order](const LedgerRow& a, const LedgerRow& b) {
        if (order == Order::DeleteAscDateAscEventAsc && a.isDeleted() != b.isDeleted())
            return !a.isDeleted();
        return DateMath::compareDates(a.date, b.date) < 0;
    };
    std::vector<int> positions(rows.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = int(i);
    const auto byRow = [&](int a, int b) { return before(rows[size_t(a)], rows[size_t(b)]); };
    if (std::is_sorted(rows.begin(), rows.end(), dayBefore)) {
        for (size_t first = 0; first < rows.size();) {
            size_t end = first + 1;
            while (end < rows.size() && !dayBefore(rows[first], rows[end]))
                ++end;
            if (end - first > 1)
                std::stable_sort(positions.begin() + std::ptrdiff_t(first), positions.begin() + std::ptrdiff_t(end),
                                 byRow);
            first = end;
        }
    } else {
        // Rows in order up to some row (those added since at the end): the rest sorted and merged in after their
        // equals, which is what a stable sort of them all gives.
        const auto sortedEnd = std::is_sorted_until(rows.begin(), rows.end(), before);
        const auto middle = positions.begin() + (sortedEnd - rows.begin());
        std::stable_sort(middle, positions.end(), byRow);
        std::inplace_merge(positions.begin(), middle, positions.end(), byRow);
    }
    // Each cycle of the permutation moved round in place: the row at `at` takes the one sorted there.
    std::vector<bool> placed(rows.size(), false);
    for (size_t start = 0; start < rows.size(); ++start) {
        if (placed[start] || size_t(positions[start]) == start) {
            placed[start] = true;
            continue;
        }
        LedgerRow first = std::move(rows[start]);
        size_t at = start;
        for (;;) {
            placed[at] = true;
            const size_t from = size_t(positions[at]);
            if (from == start) {
                rows[at] = std::move(first);
                break;
            }
            rows[at] = std::move(rows[from]);
            at = from;
        }
    }
}

void EventLedger::removeDeleted() {
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const LedgerRow& r) { return r.isDeleted(); }), rows.end());
}

void EventLedger::runningTaxBalance(bool resort) {
    if (resort)
        sort(Order::DateAscEventAsc);
    Money unpaid;
    for (auto& r : rows) {
        r.tax = Balances::taxAfter(unpaid, r);
        unpaid = *r.tax;
    }
}
