#include "Netting.h"
#include "CalcSupport.h"
#include "InterestLaw.h"
#include "InterestSteps.h"
#include "RunStop.h"

#include <gtest/gtest.h>

namespace {

struct Span {
    QDate first;
    QDate last;
    Money balance;
};

Netting::Return returnOf(int number, bool corporate, const std::vector<Span>& spans, double final) {
    Netting::Return r;
    r.number = number;
    r.name = QStringLiteral("Return %1").arg(number);
    r.corporate = corporate;
    for (const auto& s : spans) // no refund has taken any of the first $10,000
        r.spans.push_back({s.first, s.last, s.balance, usd(10000)});
    r.finalBalance = usd(final);
    return r;
}

Netting::Options options() {
    Netting::Options o;
    o.netRateFrom = d(10, 1, 1998);
    return o;
}

} // namespace

// An underpayment shared between two overpayments on the same days: never more than either balance holds, in the
// order of the returns; the part of a corporate overpayment above $10,000 is netted first unless the setting says
// otherwise.
TEST(Netting, SharesAnUnderpaymentAmongOverpaymentsOnce) {
    const std::vector<Netting::Return> returns = {
        returnOf(1, true, {{d(1, 1, 2010), d(12, 31, 2010), usd(30000)}}, 30500),
        returnOf(2, true, {{d(1, 1, 2010), d(12, 31, 2010), usd(-25000)}}, -25500),
        returnOf(3, true, {{d(1, 1, 2010), d(12, 31, 2010), usd(-8000)}}, -8100),
    };
    const auto found = Netting::overlaps(returns, options());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].over, 1u);
    EXPECT_EQ(found[0].amount, usd(25000));
    EXPECT_EQ(found[0].aboveThreshold, usd(15000));
    EXPECT_EQ(found[1].over, 2u);
    EXPECT_EQ(found[1].amount, usd(5000)); // what is left of the 30,000.00
    EXPECT_EQ(found[1].aboveThreshold, Money());
    EXPECT_EQ(found[0].days(), 365);

    Netting::Options first = options();
    first.takesFirstPartFirst = true;
    const auto taken = Netting::overlaps(returns, first);
    EXPECT_EQ(taken[0].aboveThreshold, usd(15000)); // all of it: 25,000.00 takes both parts

    const std::vector<Netting::Return> smaller = {
        returnOf(1, true, {{d(1, 1, 2010), d(12, 31, 2010), usd(12000)}}, 12000),
        returnOf(2, true, {{d(1, 1, 2010), d(12, 31, 2010), usd(-25000)}}, -25000),
    };
    EXPECT_EQ(Netting::overlaps(smaller, options())[0].aboveThreshold, usd(12000));
    EXPECT_EQ(Netting::overlaps(smaller, first)[0].aboveThreshold, usd(2000));
}

// Nothing before the first day of the net rate is netted; days where both balances have one sign are not overlaps.
TEST(Netting, OnlyOppositeBalancesFromTheFirstDayOfTheNetRate) {
    const std::vector<Netting::Return> returns = {
        returnOf(1, false, {{d(1, 1, 1998), d(12, 31, 1998), usd(5000)}, {d(1, 1, 1999), d(6, 30, 1999), usd(0)}}, 0),
        returnOf(2, false, {{d(1, 1, 1998), d(6, 30, 1999), usd(-3000)}}, -3100),
        returnOf(3, false, {{d(1, 1, 1998), d(6, 30, 1999), usd(700)}}, 700),
    };
    const auto found = Netting::overlaps(returns, options());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].under, 0u);
    EXPECT_EQ(found[0].first, d(10, 1, 1998));
    EXPECT_EQ(found[0].last, d(12, 31, 1998));
    EXPECT_EQ(found[0].amount, usd(3000));
    // The third return's underpayment is netted against the same overpayment only once it is free.
    EXPECT_EQ(found[1].under, 2u);
    EXPECT_EQ(found[1].first, d(1, 1, 1999));
    EXPECT_EQ(found[1].amount, usd(700));
}

// The IRS's method by how the returns stand: a refunded overpayment charges the underpayment at the overpayment rate
// even when the underpayment is paid; an overpayment still held against a paid underpayment is credited at the
// underpayment rate; the user's choice overrides either, and says so.
TEST(Netting, MethodFollowsWhatIsSettled) {
    auto pair = [](double underFinal, double overFinal) {
        return std::vector<Netting::Return>{
            returnOf(1, true, {{d(1, 1, 2010), d(6, 30, 2010), usd(5000)}}, underFinal),
            returnOf(2, true, {{d(1, 1, 2010), d(6, 30, 2010), usd(-4000)}}, overFinal)};
    };
    using M = Netting::Method;
    EXPECT_EQ(Netting::overlaps(pair(0, 0), options())[0].method, M::UnderpaymentAtOverpaymentRate);
    EXPECT_EQ(Netting::overlaps(pair(0, -4100), options())[0].method, M::OverpaymentAtUnderpaymentRate);
    EXPECT_EQ(Netting::overlaps(pair(5100, -4100), options())[0].method, M::UnderpaymentAtOverpaymentRate);
    EXPECT_EQ(Netting::overlaps(pair(5100, 0), options())[0].method, M::UnderpaymentAtOverpaymentRate);

    Netting::Options chosen = options();
    chosen.choice = [](int under, int over) -> std::optional<M> {
        return under == 1 && over == 2 ? std::optional<M>(M::OverpaymentAtUnderpaymentRate) : std::nullopt;
    };
    const auto v = Netting::overlaps(pair(5100, 0), chosen)[0];
    EXPECT_EQ(v.method, M::OverpaymentAtUnderpaymentRate);
    EXPECT_TRUE(v.chosen);
    EXPECT_FALSE(Netting::overlaps(pair(0, -4100), chosen)[0].chosen); // the same as the IRS's way
}

TEST(Netting, ReturnsThatNeverOverlap) {
    const std::vector<Netting::Return> returns = {
        returnOf(1, true, {{d(1, 1, 2010), d(6, 30, 2010), usd(5000)}}, 0),
        returnOf(2, true, {{d(7, 1, 2010), d(12, 31, 2010), usd(-4000)}}, -4100),
    };
    EXPECT_TRUE(Netting::overlaps(returns, options()).empty());
    EXPECT_TRUE(Netting::overlaps({}, options()).empty());
}

// The law's figures file: every name once, a valid value each; anything else names its line.
TEST(InterestLawFile, ReadsEachFigureAndRefusesTheRest) {
    const InterestLaw law = parseInterestLaw(
        "name,value\nlarge_corporate_overpayment_threshold,10000\nlarge_corporate_overpayment_periods_after,"
        "1994-12-31\r\nnet_rate_periods_from,1998-10-01\n\n",
        "law.csv");
    EXPECT_EQ(law.largeCorporateOverpaymentThreshold, usd(10000));
    EXPECT_EQ(law.largeCorporateOverpaymentAfter, d(12, 31, 1994));
    EXPECT_EQ(law.netRateFrom, d(10, 1, 1998));
    const std::string good = "large_corporate_overpayment_threshold,10000\nlarge_corporate_overpayment_periods_after,"
                             "1994-12-31\nnet_rate_periods_from,1998-10-01\n";
    for (const std::string& bad : std::vector<std::string>{
             std::string("value,name\n") + good, "name,value\n" + good + "net_rate_periods_from,1998-10-01\n",
             "name,value\nlarge_corporate_overpayment_threshold,ten\n",
             "name,value\nnet_rate_periods_from,1998-02-30\n", "name,value\nsomething_else,1\n",
             "name,value\nlarge_corporate_overpayment_threshold,10000\n",
             "name,value\nlarge_corporate_overpayment_"
             "threshold,-5\n"}) {
        try {
            parseInterestLaw(QString::fromStdString(bad), "law.csv");
            ADD_FAILURE() << bad;
        } catch (const RunStop& s) {
            EXPECT_TRUE(s.text().contains("law.csv")) << s.text().toStdString();
        }
    }
}

// A corporation's 50,000.00 overpayment refunded 20,000.00 at a time: as the program reads it by default, what
// remains keeps the first 10,000.00 at the corporate rate; with the other reading, the refund takes the first part
// with it and what remains earns the lower rate on all of it.
TEST(InterestLargeCorporateOverpayment, TheTwoReadingsOfAPartRefund) {
    const RateTable under({{d(1, 1, 2010), d(12, 31, 2012), rate(0.05)}});
    const RateTable over({{d(1, 1, 2010), d(12, 31, 2012), rate(0.05)}}); // 4 % for a corporation
    const RateTable gatt({{d(1, 1, 2010), d(12, 31, 2012), rate(0.025)}});
    auto run = [&](bool takesFirst) {
        EventLedger ledger;
        RecordingReporter reporter;
        ledger.add("Initial Balance", d(3, 15, 2011), d(3, 15, 2011)).initialBalance = usd(-50000);
        LedgerRow& refund = ledger.add("Refund", d(6, 30, 2011), d(7, 9, 2011));
        refund.paymentAllocatedToTax = usd(-20000);
        InterestSteps steps(ledger, reporter, under, over, d(3, 15, 2011), d(12, 31, 2011), true);
        steps.largeCorporateOverpaymentRate(gatt, usd(10000), d(12, 31, 1994), takesFirst);
        steps.run();
        Money after;
        bool past = false;
        for (const auto& r : ledger.rows) {
            past = past || r.event == "Refund";
            if (past && r.event == "Interest")
                after += val(r.interest);
        }
        return after;
    };
    // 30,000.00 left, with its share of interest, from 07/01 to 12/31/2011 (184 days).
    const Money keeps = run(false);
    const Money loses = run(true);
    EXPECT_LT(loses, Money()); // overpayment interest is below zero
    EXPECT_GT(keeps.cents() * -1, loses.cents() * -1);
    // The difference is the first 10,000.00 compounded at 4 % instead of 2.5 % over the 184 days: 10,000.00 ×
    // ((1 + 0.04/365)^184 − (1 + 0.025/365)^184) = 76.86.
    EXPECT_EQ(loses - keeps, usd(76.86));
}

// A netted part is never more than the balance it nets: 5,000.00 asked of a balance of 1,000.00 nets the 1,000.00,
// whose interest is then that of the overpayment rate, and two parts at once share what there is.
TEST(InterestNettedPart, NeverMoreThanTheBalance) {
    const RateTable under({{d(1, 1, 2010), d(12, 31, 2012), rate(0.05)}});
    const RateTable over({{d(1, 1, 2010), d(12, 31, 2012), rate(0.02)}});
    auto interestWith = [&](std::vector<InterestSteps::PartRate> parts) {
        EventLedger ledger;
        RecordingReporter reporter;
        ledger.add("Initial Balance", d(3, 15, 2011), d(3, 15, 2011)).initialBalance = usd(1000);
        InterestSteps steps(ledger, reporter, under, over, d(3, 15, 2011), d(3, 15, 2012), false);
        steps.partRates(std::move(parts));
        steps.run();
        Money total;
        for (const auto& r : ledger.rows)
            total += val(r.interest);
        return total;
    };
    InterestSteps::PartRate part;
    part.first = d(3, 16, 2011);
    part.last = d(3, 15, 2012);
    part.amount = usd(5000);
    part.rates = &over;
    // 1,000.00 for a year (366 days to 03/15/2012, 2012 a leap year) at 2 %, compounded daily.
    const Money atTwoPercent = interestWith({});
    EXPECT_GT(atTwoPercent, usd(50));
    const Money netted = interestWith({part});
    EXPECT_NEAR(double(netted.cents()) / 100.0, 20.2, 0.1);
    InterestSteps::PartRate half = part;
    half.amount = usd(600);
    // 600.00 and then what is left, 400.00: all of it again.
    EXPECT_EQ(interestWith({half, part}), netted);
}

// Without the law's figures, a corporation that owes is computed as ever; one that is owed interest stops and says
// which file is wrong.
TEST(InterestLargeCorporateOverpayment, WithoutTheLawOnlyAnOverpaymentStops) {
    const RateTable rates({{d(1, 1, 2010), d(12, 31, 2012), rate(0.05)}});
    auto run = [&](double initial) {
        EventLedger ledger;
        RecordingReporter reporter;
        ledger.add("Initial Balance", d(3, 15, 2011), d(3, 15, 2011)).initialBalance = usd(initial);
        InterestSteps steps(ledger, reporter, rates, rates, d(3, 15, 2011), d(12, 31, 2011), true);
        steps.largeCorporateOverpaymentUnknown("The file interest-law.csv is missing.");
        steps.run();
    };
    EXPECT_NO_THROW(run(5000));
    try {
        run(-5000);
        ADD_FAILURE() << "an overpayment ran without the threshold";
    } catch (const RunStop& s) {
        EXPECT_EQ(s.text(), "The file interest-law.csv is missing.");
    }
}
