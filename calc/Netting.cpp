#include "Netting.h"

#include <algorithm>
#include <map>
#include <set>

namespace Netting {
namespace {

// The span of a return holding `day`, or null.
const Return::Span* spanOf(const Return& r, const QDate& day) {
    const auto it = std::upper_bound(r.spans.begin(), r.spans.end(), day,
                                     [](const QDate& d, const Return::Span& s) { return d < s.first; });
    if (it == r.spans.begin())
        return nullptr;
    const Return::Span& s = *(it - 1);
    return day <= s.last ? &s : nullptr;
}

} // namespace

QString methodText(Method method) {
    return method == Method::UnderpaymentAtOverpaymentRate ? QStringLiteral("Underpayment at the overpayment rate")
                                                           : QStringLiteral("Overpayment at the underpayment rate");
}

std::vector<Overlap> overlaps(const std::vector<Return>& returns, const Options& options) {
    // The days are cut wherever a span of any return begins: on each piece every return's balance is one.
    std::set<QDate> starts;
    for (const auto& r : returns)
        for (const auto& s : r.spans)
            if (s.last >= options.netRateFrom)
                starts.insert(std::max(s.first, options.netRateFrom));
    std::vector<QDate> cuts(starts.begin(), starts.end());

    std::vector<Overlap> found;
    for (size_t k = 0; k < cuts.size(); ++k) {
        const QDate first = cuts[k];
        // The piece ends the day before the next cut, or with the last return's days.
        QDate last = k + 1 < cuts.size() ? cuts[k + 1].addDays(-1) : first;
        if (k + 1 == cuts.size())
            for (const auto& r : returns)
                if (const Return::Span* s = spanOf(r, first))
                    last = std::max(last, s->last);
        std::vector<Money> owed(returns.size()), overpaid(returns.size()), above(returns.size());
        std::vector<QDate> ends(returns.size());
        for (size_t i = 0; i < returns.size(); ++i) {
            const Return::Span* s = spanOf(returns[i], first);
            if (!s)
                continue;
            ends[i] = std::min(s->last, last);
            if (s->balance > Money()) {
                owed[i] = s->balance;
            } else if (s->balance < Money()) {
                overpaid[i] = -s->balance;
                if (returns[i].corporate)
                    above[i] = overpaid[i] - std::min(overpaid[i], s->firstPart);
            }
        }
        for (size_t u = 0; u < returns.size(); ++u) {
            for (size_t o = 0; o < returns.size() && owed[u] > Money(); ++o) {
                if (o == u || overpaid[o] <= Money())
                    continue;
                const Money amount = std::min(owed[u], overpaid[o]);
                const QDate end = std::min(ends[u], ends[o]);
                Overlap v;
                v.under = u;
                v.over = o;
                v.first = first;
                v.last = end;
                v.amount = amount;
                // The part above the threshold goes first, unless the first part is taken first.
                const Money regular = overpaid[o] - above[o];
                v.aboveThreshold =
                    options.takesFirstPartFirst ? std::max(Money(), amount - regular) : std::min(amount, above[o]);
                above[o] -= v.aboveThreshold;
                owed[u] -= amount;
                overpaid[o] -= amount;
                found.push_back(v);
            }
        }
    }

    // The IRS's method for each run of overlaps of one pair: when the overpayment has been refunded or credited, the
    // underpayment is charged at the overpayment rate; when it has not and the underpayment has been paid, the
    // overpayment is credited at the underpayment rate; when neither is settled, the underpayment is charged.
    std::map<std::pair<size_t, size_t>, std::vector<size_t>> byPair;
    for (size_t i = 0; i < found.size(); ++i)
        byPair[{found[i].under, found[i].over}].push_back(i);
    for (const auto& [pair, indexes] : byPair) {
        size_t from = 0;
        while (from < indexes.size()) {
            size_t to = from;
            while (to + 1 < indexes.size() && found[indexes[to + 1]].first == found[indexes[to]].last.addDays(1))
                ++to;
            const Return& under = returns[pair.first];
            const Return& over = returns[pair.second];
            // As the returns stand when the netting is asked for: after their last events.
            const bool underPaid = under.finalBalance <= Money();
            const bool overSettled = over.finalBalance >= Money();
            Method m = underPaid && !overSettled ? Method::OverpaymentAtUnderpaymentRate
                                                 : Method::UnderpaymentAtOverpaymentRate;
            bool chosen = false;
            if (options.choice)
                if (const auto c = options.choice(under.number, over.number)) {
                    chosen = *c != m;
                    m = *c;
                }
            for (size_t i = from; i <= to; ++i) {
                found[indexes[i]].method = m;
                found[indexes[i]].chosen = chosen;
            }
            from = to + 1;
        }
    }
    return found;
}

} // namespace Netting
