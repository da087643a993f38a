#include "NoticeCheck.h"
#include "CaseReader.h"
#include "RunReporter.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

// A notice's lines are read as typed values, and each cause the check names comes with the figure it gives.
namespace {

class Said : public RunReporter {
public:
    QStringList texts;
    void message(const QString& text) override { texts << text; }
    void notice(const QString& text) override { texts << text; }
    void progress(int) override {}
    void progressVisible(bool) override {}
};

QString refusal(const QByteArray& csv) {
    try {
        NoticeCheck::readNotice(csv, "n.csv");
        return QString();
    } catch (const StoreError& e) {
        return e.message();
    }
}

TEST(NoticeCheck, TheNoticeFileIsCheckedLineByLine) {
    const auto n = NoticeCheck::readNotice("item,value\nkind,CP503\nnotice_date,2/20/2018\ntax,\"3,183.00\"\n"
                                           "payments,\xe2\x88\x92"
                                           "3,328.00\ninterest,145.00\n",
                                           "n.csv");
    EXPECT_EQ(n.kind, "CP503");
    EXPECT_EQ(n.figuredTo, QDate(2018, 2, 20)); // the notice's own date when it gives none
    EXPECT_EQ(n.lines.at(NoticeCheck::Item::Payments).cents(), 332800);
    EXPECT_EQ(n.lines.at(NoticeCheck::Item::Tax).cents(), 318300);
    EXPECT_TRUE(refusal("line,amount\n").contains("line 1"));
    EXPECT_TRUE(refusal("item,value\nnotice_date,02/30/2018\n").contains("line 2"));
    EXPECT_TRUE(refusal("item,value\nnotice_date,02/20/2018\ntax,$1,2,3\n").contains("line 3"));
    EXPECT_TRUE(refusal("item,value\nnotice_date,02/20/2018\npenalties,5.00\n").contains("is not an item"));
    EXPECT_TRUE(refusal("item,value\nnotice_date,02/20/2018\ntax,1\ntax,2\n").contains("given twice"));
    EXPECT_TRUE(refusal("item,value\ntax,1\n").contains("no notice_date"));
    EXPECT_TRUE(refusal("item,value\nnotice_date,02/20/2018\nnotice_date,03/20/2018\n").contains("given twice"));
    EXPECT_TRUE(refusal("item,value\nnotice_date,02/20/2018\ntax,-40000\n").contains("below zero"));
    EXPECT_TRUE(refusal("item,value\nnotice_date,01/01/0001\n").contains("line 2"));
    EXPECT_TRUE(refusal("item,value\nkind,CP\xff\nnotice_date,02/20/2018\n").contains("not UTF-8"));
    EXPECT_TRUE(refusal(QByteArray("item,value\n\0", 12)).contains("not a small text file"));
}

TEST(NoticeCheck, APaymentTheNoticeDoesNotCountIsNamed) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of "
            "Return],[Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty]) "
            "VALUES('O''Hara',#4/18/2023#,#4/18/2023#,#9/1/2023#,#12/31/2023#,3000,1)");
    db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment "
            "Allocated To Tax]) VALUES(1,'Payment',#10/2/2023#,1000,1000),(1,'Payment',#11/1/2023#,700,700)");
    const auto c = CaseReader(db).read(1);
    ASSERT_TRUE(c);
    NoticeCheck::Notice notice;
    notice.kind = "CP14";
    notice.date = notice.figuredTo = QDate(2023, 12, 31);
    notice.lines[NoticeCheck::Item::Payments] = Money::fromCents(100000); // the 700.00 is missing
    notice.lines[NoticeCheck::Item::FailureToFile] = Money::fromCents(45000);
    Said said;
    NoticeCheck::Result r;
    ASSERT_EQ(NoticeCheck::check(*c, notice, said, &r), RunOutcome::Written) << said.texts.join("|").toStdString();
    const auto named = [&r](NoticeCheck::Item item) -> const NoticeCheck::Cause* {
        for (const auto& cause : r.causes)
            if (cause.item == item)
                return &cause;
        return nullptr;
    };
    const auto* payment = named(NoticeCheck::Item::AmountDue);
    ASSERT_TRUE(payment);
    EXPECT_TRUE(payment->text.contains("payment of 700.00 made 11/01/2023")) << payment->text.toStdString();
    Money due;
    for (const auto& l : r.lines)
        if (l.item == NoticeCheck::Item::AmountDue)
            due = *l.program;
    EXPECT_GT(payment->figure, due + Money::fromCents(70000)); // 700.00 more, with its interest and penalty
    // Filed 136 days late: the minimum is the lesser of the year's minimum and the 3,000.00 unpaid.
    const auto* minimum = named(NoticeCheck::Item::FailureToFile);
    ASSERT_TRUE(minimum);
    EXPECT_TRUE(minimum->text.contains("filed 136 days after")) << minimum->text.toStdString();
    EXPECT_EQ(minimum->figure, Money::fromCents(45000)); // $450 for returns required to be filed in 2023
    EXPECT_TRUE(minimum->matches);
    EXPECT_TRUE(NoticeCheck::csv(r).contains("Matches The Notice"));
    // The case as it stood on an earlier day: an installment agreement and tax assessed later are left out.
    TaxpayerCase later = *c;
    later.failureToPay = true;
    later.failureToPayAssessment = QDate(2023, 12, 31);
    later.decreasedFailureToPay = true;
    later.decreasedFailureToPayBegins = QDate(2023, 11, 20);
    later.charges.push_back(
        {0, "Other Charge", QDate(2023, 4, 18), Money::fromCents(50000), Money(), Money(), QDate(2023, 12, 1)});
    const TaxpayerCase then = NoticeCheck::asOf(later, QDate(2023, 10, 31));
    EXPECT_FALSE(then.decreasedFailureToPay);
    EXPECT_TRUE(then.charges.empty());
    EXPECT_EQ(then.failureToPayAssessment, QDate(2023, 10, 31));
    EXPECT_TRUE(NoticeCheck::asOf(later, QDate(2023, 12, 31)).decreasedFailureToPay);
    // A notice figured to a day before the return was due is a mistake in its dates, said so.
    notice.figuredTo = QDate(2023, 1, 1);
    EXPECT_EQ(NoticeCheck::check(*c, notice, said, &r), RunOutcome::Stopped);
    EXPECT_TRUE(said.texts.last().contains("before the return's due date 04/18/2023"));
}

} // namespace
