#include "RateKinds.h"

#include "Names.h"

namespace RateKinds {

const std::vector<RateKind>& all() {
    static const std::vector<RateKind> kinds = {
        {Tables::underpaymentRates, QStringLiteral("underpayment"), QStringLiteral("underpayment"), true,
         QStringLiteral("frmUnderpaymentIntRates"), QStringLiteral("Underpayment Quarterly Interest Table"),
         QStringLiteral("mnuUnderpaymentrates"), QStringLiteral("&Underpayment Rates")},
        {Tables::overpaymentRates, QStringLiteral("overpayment"), QStringLiteral("overpayment_noncorp"), true,
         QStringLiteral("frmOverpaymentIntRates"), QStringLiteral("Overpayment Quarterly Interest Table"),
         QStringLiteral("mnuOverpaymentrates"), QStringLiteral("&Overpayment Rates")},
        {Tables::largeCorporateRates, QStringLiteral("large corporate underpayment"),
         QStringLiteral("large_corp_underpayment"), false, QStringLiteral("frmLargeCorporateIntRates"),
         QStringLiteral("Large Corporate Underpayment Interest Table"), QStringLiteral("mnuLargeCorporaterates"),
         QStringLiteral("&Large Corporate Underpayment Rates")},
        // IRC 6621(a)(1), last sentence: a corporation's overpayment above $10,000, for periods after 12/31/1994.
        {Tables::largeCorporateOverpaymentRates, QStringLiteral("large corporate overpayment"),
         QStringLiteral("corp_overpayment_over_10k"), false, QStringLiteral("frmLargeCorporateOverpaymentIntRates"),
         QStringLiteral("Corporate Overpayment Above $10,000 Interest Table"),
         QStringLiteral("mnuLargeCorporateOverpaymentrates"),
         QStringLiteral("Corporate Overpayment &Above $10,000 Rates")},
    };
    return kinds;
}

const RateKind& underpayment() {
    return all()[0];
}
const RateKind& overpayment() {
    return all()[1];
}
const RateKind& largeCorporate() {
    return all()[2];
}

const RateKind& largeCorporateOverpayment() {
    return all()[3];
}

const RateKind* ofTable(const QString& table) {
    for (const auto& k : all())
        if (k.table == table)
            return &k;
    return nullptr;
}

int indexOf(const RateKind& kind) {
    return int(&kind - all().data());
}

} // namespace RateKinds
