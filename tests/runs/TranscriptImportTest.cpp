#include "TranscriptImport.h"
#include "BusinessDays.h"
#include "CaseReader.h"
#include "ProgramFiles.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TestSupport.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

// An account transcript from elsewhere is untrusted: each bad input is refused with the line it is on, or listed and
// left out, and nothing is written unless the whole import is.
namespace {

const QByteArray head = "Account Transcript\n"
                        "FORM NUMBER: 1040                       TAX PERIOD: Dec. 31, 2022\n"
                        "TAXPAYER IDENTIFICATION NUMBER: XXX-XX-1234\n"
                        "ACCRUED INTEREST: 0.00                  AS OF: Jun. 30, 2024\n"
                        "RETURN DUE DATE OR RETURN RECEIVED DATE (WHICHEVER IS LATER): Apr. 18, 2023\n"
                        "TRANSACTIONS\n"
                        "CODE  EXPLANATION OF TRANSACTION        CYCLE       DATE          AMOUNT\n";
const QByteArray body = "150   Tax return filed                  20231805    05-08-2023    $10,000.00\n"
                        "806   W-2 or 1099 withholding                       04-18-2023    -$6,000.00\n"
                        "670   Payment                                       07-01-2023    -$1,000.00\n";

QString refusal(const QByteArray& bytes) {
    try {
        Transcript::read(bytes, QStringLiteral("t.txt"));
        return QString();
    } catch (const StoreError& e) {
        return e.message();
    }
}

// The installed holidays: 04/15/2023 was a Saturday and the observed Emancipation Day the Monday after.
const std::vector<Holiday>& holidays() {
    static const auto all = BusinessDays::parse(
        QString::fromUtf8(readRegularFile(DataFiles::path(DataFiles::holidays), dataFileLimit, "data file")),
        "holidays.csv");
    return all;
}

TranscriptImport::Plan planOf(const QByteArray& bytes, const std::optional<TaxpayerCase>& into = std::nullopt) {
    return TranscriptImport::plan(Transcript::read(bytes, QStringLiteral("t.txt")), TranscriptRules::installed(),
                                  holidays(), into, QStringLiteral("t.txt"), QDate(2024, 6, 30));
}

QString refusalOfPlan(const QByteArray& bytes) {
    try {
        planOf(bytes);
        return QString();
    } catch (const StoreError& e) {
        return e.message();
    }
}

// What a plan writes, as text: each payment, charge and IRS figure.
QString rowsOf(const TranscriptImport::Plan& p) {
    QStringList out;
    const auto cents = [](const std::optional<Money>& m) { return m ? QString::number(m->cents()) : QString("-"); };
    out << QStringLiteral("due %1 filed %2 tax %3")
               .arg(p.made.originalDueDate.toString(Qt::ISODate), p.made.dateReturnFiled.toString(Qt::ISODate),
                    cents(p.made.initialBalance));
    for (const auto& pay : p.made.payments)
        out << QStringLiteral("pay %1 %2").arg(pay.date.toString(Qt::ISODate), cents(pay.amount));
    for (const auto& f : p.made.irsFigures)
        out << QStringLiteral("irs %1 %2").arg(f.code, cents(f.amount));
    return out.join(QLatin1Char('\n'));
}

TEST(TranscriptImport, BadFilesAreRefusedWithTheirLine) {
    EXPECT_TRUE(refusal("").contains("is empty"));
    EXPECT_TRUE(refusal("  \n\n ").contains("is empty"));
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 37 % 256);
    EXPECT_TRUE(refusal(binary).contains("is not text"));
    EXPECT_TRUE(refusal("%PDF-1.4\n...").contains("PDF"));
    EXPECT_TRUE(refusal("Dear customer,\nyour order has shipped.\n").contains("not an IRS account transcript"));
    EXPECT_TRUE(refusal("FORM NUMBER: 1040\nTRANSACTIONS\n").contains("TAX PERIOD"));

    const QString amount = refusal(head + "150   Tax return filed   05-08-2023   $1,2,3\n");
    EXPECT_TRUE(amount.contains("line 8")) << amount.toStdString();
    EXPECT_TRUE(amount.contains("\"$1,2,3\" does not read as an amount")) << amount.toStdString();
    const QString date = refusal(head + body + "670   Payment   02-30-2024   -$5.00\n");
    EXPECT_TRUE(date.contains("line 11")) << date.toStdString();
    EXPECT_TRUE(date.contains("\"02-30-2024\" is not a date")) << date.toStdString();
    EXPECT_TRUE(refusal(head + "670   Payment   -$5.00\n").contains("line 8"));
    // A header value that changes in the middle is another account.
    EXPECT_TRUE(refusal(head + body + "FORM NUMBER: 1120   TAX PERIOD: Dec. 31, 2022\n").contains("line 11"));
    EXPECT_TRUE(refusal(head + body + "TAX PERIOD: Dec. 31, 2021\n").contains("a second tax period"));
}

TEST(TranscriptImport, AmountsAndDatesReadExactly) {
    EXPECT_EQ(Transcript::amountOf("$24,118.00")->cents(), 2411800);
    EXPECT_EQ(Transcript::amountOf("-$13,340.07")->cents(), -1334007);
    EXPECT_EQ(Transcript::amountOf("$0.00")->cents(), 0);
    EXPECT_EQ(Transcript::amountOf("1064.5")->cents(), 106450);
    for (const char* bad : {"$1,2,3", "12,34.00", "--$5", "$5.001", "", "$", "1e5", "$99999999999999999.00"})
        EXPECT_FALSE(Transcript::amountOf(bad)) << bad;
    EXPECT_EQ(Transcript::headerDate("Dec. 31, 2020"), QDate(2020, 12, 31));
    EXPECT_EQ(Transcript::headerDate("Sept. 30, 2021"), QDate(2021, 9, 30));
    EXPECT_EQ(Transcript::headerDate("May 03, 2021"), QDate(2021, 5, 3));
    EXPECT_FALSE(Transcript::headerDate("Foo. 31, 2020").isValid());
    EXPECT_FALSE(Transcript::transactionDate("02-30-2024").isValid());
    EXPECT_EQ(Transcript::transactionDate("02-29-2024"), QDate(2024, 2, 29));
}

TEST(TranscriptImport, AnUnknownCodeIsListedAndLeftOut) {
    const auto p = planOf(head + body + "999   Something new                                 08-01-2023    -$50.00\n");
    ASSERT_EQ(p.unknownCodes, QStringList{"999 (line 11)"});
    EXPECT_EQ(p.leftOut(), 1);
    EXPECT_TRUE(p.steps[10].leftOut);
    EXPECT_TRUE(p.steps[10].does.contains("not in the table"));
    EXPECT_EQ(p.made.payments.size(), 1u); // the 670, not the 999 (the 806 is in the tax unpaid on the due date)
    // Every line of the file has its step, shown in the preview.
    EXPECT_EQ(p.steps.size(), size_t(12));
}

TEST(TranscriptImport, TheSameTransactionsImportTheSameFromEveryForm) {
    const QString text = rowsOf(planOf(head + body));
    // The withholding counts as paid on the due date: the Initial Balance is the tax unpaid then, which the
    // failure-to-file penalty is figured on; the credit is kept beside the case.
    EXPECT_EQ(text, "due 2023-04-18 filed 2023-04-18 tax 400000\npay 2023-07-01 100000\nirs 806 600000");

    // Saved as HTML from the browser: a table, entities, a script.
    const QByteArray html =
        "<html><head><title>x</title><script>var a = '<tr><td>670</td></tr>';</script></head><body>"
        "<p>Account Transcript</p><p>FORM NUMBER: 1040&nbsp;&nbsp; TAX PERIOD: Dec. 31, 2022</p>"
        "<p>TAXPAYER IDENTIFICATION NUMBER: XXX-XX-1234</p><p>ACCRUED INTEREST: 0.00 AS OF: Jun. 30, 2024</p>"
        "<p>RETURN DUE DATE OR RETURN RECEIVED DATE (WHICHEVER IS LATER): Apr. 18, 2023</p><h3>TRANSACTIONS</h3>"
        "<table><tr><th>CODE</th><th>EXPLANATION OF TRANSACTION</th><th>CYCLE</th><th>DATE</th><th>AMOUNT</th></tr>"
        "<tr><td>150</td><td>Tax return filed</td><td>20231805</td><td>05-08-2023</td><td>$10,000.00</td></tr>"
        "<tr><td>806</td><td>W-2 or 1099 withholding</td><td></td><td>04-18-2023</td><td>-$6,000.00</td></tr>"
        "<tr><td>670</td><td>Payment &amp; more</td><td></td><td>07-01-2023</td><td>-$1,000.00</td></tr>"
        "</table></body></html>";
    EXPECT_EQ(rowsOf(planOf(html)), text);
    // The same with Windows line ends, without the optional closing tags, and a label broken over two lines.
    QByteArray loose = html;
    loose.replace("</td>", "").replace("</tr>", "").replace("</p>", "\r\n");
    loose.replace("<p>TAXPAYER IDENTIFICATION",
                  "<p>SPOUSE\r\n TAXPAYER IDENTIFICATION NUMBER: XXX-XX-9999</p><p>TAXPAYER IDENTIFICATION");
    EXPECT_EQ(rowsOf(planOf(loose)), text);
    // The text kept in a <pre> block, as a browser saves the viewer's page.
    EXPECT_EQ(rowsOf(planOf("<html><body><pre>\r\n" + head + body + "</pre></body></html>")), text);

    // The web viewer's text: "Label: value" lines, without the column alignment.
    const QByteArray labelled = "Account Transcript\nFORM NUMBER: 1040\nTAX PERIOD: Dec. 31, 2022\n"
                                "ACCRUED INTEREST: 0.00 AS OF: Jun. 30, 2024\n"
                                "RETURN DUE DATE OR RETURN RECEIVED DATE (WHICHEVER IS LATER): Apr. 18, 2023\n"
                                "TRANSACTIONS\n"
                                "Code: 150\nExplanation: Tax return filed\nCycle: 20231805\nDate: 05-08-2023\n"
                                "Amount: $10,000.00\n"
                                "Code: 806\nExplanation: W-2 or 1099 withholding\nDate: 04-18-2023\n"
                                "Amount: -$6,000.00\n"
                                "Code: 670\nExplanation: Payment\nDate: 07-01-2023\nAmount: -$1,000.00\n";
    EXPECT_EQ(rowsOf(planOf(labelled)), text);
    EXPECT_TRUE(refusal("TRANSACTIONS\nFORM NUMBER: 1040\nTAX PERIOD: Dec. 31, 2022\nCode: 670\nDate: 02-30-2024\n"
                        "Amount: $1.00\n")
                    .contains("line 5"));

    // Printed to PDF: the glyphs of the viewer's buttons, no-break spaces, a page break in the middle.
    QByteArray glyphs = head + body;
    glyphs.replace("150   Tax", "\xee\x80\x80 150\xc2\xa0  Tax");
    glyphs.replace("806   W-2", "\f\xe2\x80\xa2 806   W-2");
    glyphs.replace("-$1,000.00", "\xe2\x88\x92$1,000.00");
    EXPECT_EQ(rowsOf(planOf(glyphs)), text);
    // Rows a PDF's text runs into one line, a document locator between them.
    QByteArray merged = head + body;
    merged.replace("$10,000.00\n806", "$10,000.00 n/a 17221-335-10442-2 806");
    merged.replace("-$6,000.00\n670", "-$6,000.00   670");
    EXPECT_EQ(rowsOf(planOf(merged)), text);
    // A row whose code cannot be read is refused, never dropped.
    EXPECT_TRUE(refusal(head + "150Tax return filed   05-08-2023   $10,000.00\n").contains("line 8"));
}

TEST(TranscriptImport, ReversalsSubtractFromWhatTheyReverse) {
    const auto p = planOf(head + body +
                          "671   Dishonored check                              07-20-2023    $400.00\n"
                          "612   Correction of a payment with the return       07-21-2023    $100.00\n"
                          "166   Penalty for filing late                       05-08-2023    $90.00\n"
                          "167   Abatement of the penalty                      09-01-2023    -$30.00\n");
    EXPECT_EQ(rowsOf(p), "due 2023-04-18 filed 2023-04-18 tax 400000\npay 2023-07-01 60000\nirs 166 6000\n"
                         "irs 806 600000");
    EXPECT_TRUE(p.steps[11].leftOut); // a 612 with no 610 before it
    EXPECT_TRUE(p.notes.join(' ').contains("finds no earlier transaction of code 610"));
    // An abatement larger than the additional tax comes off the return's tax, which holds it whole.
    const auto abated = planOf(head + body +
                               "290   Additional tax assessed                       10-16-2023    $500.00\n"
                               "291   Abatement of prior tax assessment             12-04-2023    -$2,000.00\n");
    EXPECT_EQ(abated.made.initialBalance->cents(), 200000); // 10,000 less 2,000 abated, less 6,000 withheld
    ASSERT_EQ(abated.made.charges.size(), 1u);
    EXPECT_EQ(abated.made.charges[0].asTax->cents(), 50000);
}

// What the case's switches and dates become: each of these once made a case the IRS would not.
TEST(TranscriptImport, TheCasesSwitchesAndDates) {
    const auto with = [](const QByteArray& form, const QByteArray& period, const QByteArray& lines) {
        QByteArray t = "FORM NUMBER: " + form + "   TAX PERIOD: " + period + "\n" +
                       "ACCRUED INTEREST: 0.00   AS OF: Jun. 30, 2024\nTRANSACTIONS\n" + lines;
        t.replace("TRANSACTIONS", "RETURN DUE DATE OR RETURN RECEIVED DATE (WHICHEVER IS LATER): Jan. 02, 2020\n"
                                  "TRANSACTIONS");
        return planOf(t).made;
    };
    // A return filed early and its refund made before the due date: the refund is in the tax unpaid then.
    auto c = with("1040", "Dec. 31, 2022",
                  "150   Tax return filed     03-06-2023    $5,000.00\n806   Withholding    04-18-2023    -$6,000.00\n"
                  "846   Refund issued        03-06-2023    $1,000.00\n");
    EXPECT_EQ(c.initialBalance->cents(), 0);
    EXPECT_TRUE(c.refunds.empty());
    // A failure-to-pay penalty the IRS abated in full is not computed.
    c = with("1040", "Dec. 31, 2022",
             "150   Tax return filed     05-08-2023    $5,000.00\n276   Late payment    05-08-2023    $40.00\n"
             "277   Abated               09-01-2023    -$40.00\n");
    EXPECT_FALSE(c.failureToPay);
    // The 0.25 % rate of an installment agreement is for an individual's return only.
    const QByteArray agreement = "150   Tax return filed     05-08-2023    $5,000.00\n"
                                 "971   Installment agreement established    06-20-2023    $0.00\n";
    EXPECT_TRUE(with("1040", "Dec. 31, 2022", agreement).decreasedFailureToPay);
    EXPECT_FALSE(with("1120", "Dec. 31, 2022", agreement).decreasedFailureToPay);
    EXPECT_FALSE(with("941", "Mar. 31, 2023", agreement).decreasedFailureToPay);
    // A payroll quarter's tax left unpaid on the due date bears the failure-to-pay penalty without a 276.
    c = with("941", "Mar. 31, 2023",
             "150   Tax return filed     05-22-2023    $30,000.00\n650   Deposit    02-15-2023    -$20,000.00\n"
             "670   Payment              07-10-2023    -$10,000.00\n");
    EXPECT_TRUE(c.failureToPay);
    EXPECT_EQ(c.startDate, QDate(2023, 1, 1));
    EXPECT_EQ(with("944", "Dec. 31, 2023", agreement).startDate, QDate(2023, 1, 1));
    // An extension to a Saturday runs to the Monday after.
    EXPECT_EQ(with("1040", "Dec. 31, 2021",
                   "150   Tax return filed     10-17-2022    $5,000.00\n"
                   "460   Extension of time to file ext. Date 10-15-2022    04-18-2022    $0.00\n")
                  .extendedDueDate,
              QDate(2022, 10, 17));
}

TEST(TranscriptImport, ATranscriptOfAnotherPeriodIsRefusedForTheSelectedCase) {
    TaxpayerCase selected;
    selected.number = 4;
    selected.name = "O'Brien";
    selected.originalDueDate = QDate(2022, 4, 18);
    try {
        planOf(head + body, selected);
        FAIL() << "imported into a case of another period";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.message().contains("line 2")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("taxpayer 4 (O'Brien)")) << e.message().toStdString();
    }
    selected.originalDueDate = QDate(2023, 4, 18);
    selected.payroll = true;
    EXPECT_THROW(planOf(head + body, selected), StoreError);
}

TEST(TranscriptImport, AddingToACaseWritesOnlyWhatItLacks) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    const int number = TranscriptImport::write(db, planOf(head + body), QStringLiteral("O'NEIL"));
    auto c = CaseReader(db).read(number);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->clientCode, "O'NEIL");
    EXPECT_EQ(c->payments.size(), 1u);
    EXPECT_FALSE(c->decreasedFailureToPay);
    // The same transcript again, with two more payments of one amount, an installment agreement and the IRS's
    // penalty, added to the case: only what the case lacks is written, and the agreement sets the 0.25 % rate.
    const QByteArray more = head + body + "670   Payment    08-01-2023    -$1,000.00\n" +
                            "276   Penalty for late payment of tax    05-08-2023    $20.00\n" +
                            "971   Installment agreement established    06-20-2023    $0.00\n";
    const auto again = planOf(more, c);
    EXPECT_TRUE(again.steps[9].does.contains("already has this payment"));
    EXPECT_FALSE(again.steps[10].leftOut); // the second 1,000.00 is another payment
    EXPECT_EQ(TranscriptImport::write(db, again), number);
    c = CaseReader(db).read(number);
    ASSERT_EQ(c->payments.size(), 2u);
    EXPECT_EQ(c->initialBalance->cents(), 400000);
    EXPECT_TRUE(c->failureToPay);
    EXPECT_EQ(c->failureToPayAssessment, QDate(2023, 5, 8));
    EXPECT_TRUE(c->decreasedFailureToPay);
    EXPECT_EQ(c->decreasedFailureToPayBegins, QDate(2023, 6, 20));
    // A case deleted after its preview was made gets nothing written for it.
    {
        const int orphan = TranscriptImport::write(db, planOf(head + body));
        const auto stale = planOf(more, CaseReader(db).read(orphan));
        db.exec("DELETE FROM [Basic Taxpayer Data] WHERE [Taxpayer Number] = " + QString::number(orphan));
        EXPECT_THROW(TranscriptImport::write(db, stale), StoreError);
        EXPECT_EQ(db.query("SELECT COUNT(*) FROM [Payment Table] WHERE [Taxpayer Number] = " + QString::number(orphan))
                      .value(0, 0)
                      .toInt(),
                  1); // the first import's payment alone: none added
    }
    // Once more: nothing is written twice.
    const auto third = planOf(more, c);
    EXPECT_EQ(third.leftOut(), 4); // the 806 (in the Initial Balance), the two 670 and the 276
    TranscriptImport::write(db, third);
    c = CaseReader(db).read(number);
    EXPECT_EQ(c->payments.size(), 2u);
    EXPECT_EQ(c->irsFigures.size(), 2u); // the 806 kept beside the case and the 276
}

TEST(TranscriptImport, AHundredThousandLinesEndInTime) {
    QByteArray big = head + body;
    big.reserve(big.size() + 100000 * 80);
    for (int i = 0; i < 100000; ++i)
        big += (i % 50 == 49 ? QByteArray("Page 3 of 9\n")
                             : "670   Payment                                       07-01-2023    -$1.00\n");
    // A guard against a hang, not a timing: the benchmark times the import (under sanitizers it is many times slower).
    withinSeconds(120, [&] {
        const auto p = planOf(big);
        EXPECT_EQ(p.made.payments.size(), size_t(1 + 98000));
    });
}

// Inputs that would make a pattern search or a lookup run long end in time: a tag left open over 300,000 blanks,
// scripts never closed, labelled lines, a line of megabytes, payments each set against many assessments.
TEST(TranscriptImport, HostileInputsEndInTime) {
    withinSeconds(60, [] {
        EXPECT_FALSE(refusal("<html><br" + QByteArray(300000, ' ')).isEmpty());
        QByteArray scripts = "<html><table>";
        for (int i = 0; i < 20000; ++i)
            scripts += "<script>x";
        EXPECT_FALSE(refusal(scripts).isEmpty());
        EXPECT_TRUE(refusal(QByteArray(2 << 20, 'x')).contains("characters long"));
    });
    withinSeconds(60, [] {
        QByteArray labelled = "FORM NUMBER: 1040\nTAX PERIOD: Dec. 31, 2022\nTRANSACTIONS\n";
        for (int i = 0; i < 20000; ++i)
            labelled += "Code: 670\nDate: 07-01-2023\nAmount: -$1.00\n";
        EXPECT_EQ(planOf(labelled).made.payments.size(), 20000u);
    });
    // Amounts that add up beyond 64 bits of cents: a message naming the file, never a crash.
    withinSeconds(60, [] {
        QByteArray huge = head + body;
        for (int i = 0; i < 100000; ++i)
            huge += "670   Payment    08-02-2023    -$999,999,999,999.99\n";
        EXPECT_TRUE(refusalOfPlan(huge).contains("more than the largest amount")) << refusalOfPlan(huge).toStdString();
    });
    withinSeconds(60, [] {
        QByteArray many = head + body;
        for (int i = 0; i < 10000; ++i)
            many += "196   Interest charged    08-01-2023    $1.00\n670   Payment    08-02-2023    -$1.00\n";
        EXPECT_EQ(planOf(many).made.payments.size(), 10001u);
    });
}

TEST(TranscriptImport, TheInstalledRuleFilesReadAndBadLinesAreNamed) {
    const auto rules = TranscriptRules::installed();
    ASSERT_TRUE(rules.find("971", "Installment agreement established"));
    EXPECT_EQ(rules.find("971", "Installment agreement established")->action,
              TranscriptRules::Action::InstallmentAgreement);
    EXPECT_EQ(rules.find("971", "Collection due process notice")->action, TranscriptRules::Action::Note);
    EXPECT_FALSE(rules.find("999", ""));
    ASSERT_TRUE(rules.dueDate("1120", QDate(2015, 12, 31)));
    EXPECT_EQ(TranscriptRules::dueDay(*rules.dueDate("1120", QDate(2015, 12, 31)), QDate(2015, 12, 31)),
              QDate(2016, 3, 15));
    EXPECT_EQ(TranscriptRules::dueDay(*rules.dueDate("1120", QDate(2022, 12, 31)), QDate(2022, 12, 31)),
              QDate(2023, 4, 15));
    EXPECT_EQ(TranscriptRules::dueDay(*rules.dueDate("941", QDate(2024, 3, 31)), QDate(2024, 3, 31)),
              QDate(2024, 4, 30));
    // A corporation's year ending June 30 that began before 2026 keeps the 15th day of the third month.
    EXPECT_EQ(TranscriptRules::dueDay(*rules.dueDate("1120", QDate(2023, 6, 30)), QDate(2023, 6, 30)),
              QDate(2023, 9, 15));
    EXPECT_EQ(TranscriptRules::dueDay(*rules.dueDate("1120", QDate(2027, 6, 30)), QDate(2027, 6, 30)),
              QDate(2027, 10, 15));
    for (const char* pending :
         {"Pending installment agreement", "Removed pending installment agreement", "Installment agreement terminated"})
        EXPECT_EQ(rules.find("971", pending)->action, TranscriptRules::Action::Note) << pending;
    const QString header = "code,action,reverses,explanation_contains,meaning\n";
    for (const QString bad : {"15,tax,,,Return", "150,taxes,,,Return", "611,reversal,,,Dishonored", "150,tax"})
        try {
            TranscriptRules::parseCodes(header + "150,tax,,,Return\n" + bad, "codes.csv");
            ADD_FAILURE() << bad.toStdString();
        } catch (const StoreError& e) {
            EXPECT_TRUE(e.message().contains("line 3")) << e.message().toStdString();
        }
}

} // namespace
