#include "CaseReader.h"
#include "ReportKind.h"
#include "ReportPainter.h"
#include "ReportSource.h"
#include "RunReporter.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TestSupport.h"
#include "WholeBook.h"

#include <gtest/gtest.h>

// A report and its printed total come from the run that made them: another connection's run of another taxpayer
// between the run and its report (another process, or a second user) never puts its rows under this client's title.
namespace {

class Quiet : public RunReporter {
public:
    QStringList said;
    void message(const QString& text) override { said << text; }
    void notice(const QString& text) override { said << text; }
    void progress(int) override {}
    void progressVisible(bool) override {}
};

// The rows, in the fields of `like` (all of their own by default).
QString dump(const RecordSet& rows, const RecordSet* like = nullptr) {
    const QStringList fields = like ? like->fields() : rows.fields();
    QString out;
    for (int r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (const QString& f : fields)
            cells << rows.value(r, f).toString();
        out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
    }
    return out;
}

// Two income-tax cases, two payroll quarters and two estimated-tax years, each pair with different figures.
void addCases(SqliteDatabase& db) {
    const QStringList statements = {
        "INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of "
        "Return],[Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],[Calculate "
        "Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty]) VALUES('Client A',#4/15/2005#,"
        "#4/15/2005#,#7/15/2005#,#12/31/2005#,10000,1,1,#8/1/2005#)",
        "INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Extended Due Date Of "
        "Return],[Date Return Filed],[End Date],[Initial Balance],[Calculate Failure To File Penalty],[Calculate "
        "Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty]) VALUES('Client B',#4/15/2006#,"
        "#4/15/2006#,#9/15/2006#,#6/30/2007#,777,1,1,#10/1/2006#)",
        "INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Start Date],[End Date],"
        "[Payroll Tax Situation]) VALUES('Payroll A',#4/30/2005#,#1/1/2005#,#12/31/2005#,1)",
        "INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[Start Date],[End Date],"
        "[Payroll Tax Situation]) VALUES('Payroll B',#7/31/2006#,#4/1/2006#,#12/31/2006#,1)",
        "INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Assessment Date],"
        "[Required Deposit]) VALUES(3,'Liability',#2/15/2005#,#6/1/2005#,1000)",
        "INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment "
        "Allocated To Tax],[Due Date Of Liability]) VALUES(3,'Payment',#2/25/2005#,1000,1000,#2/15/2005#)",
        "INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Assessment Date],"
        "[Required Deposit]) VALUES(4,'Liability',#5/15/2006#,#9/1/2006#,2500)",
        "INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment],[Payment "
        "Allocated To Tax],[Due Date Of Liability]) VALUES(4,'Payment',#5/18/2006#,2500,2500,#5/15/2006#)",
        "INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[End Date]) VALUES('Estimated A',#4/15/2006#)",
        "INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[End Date]) VALUES('Estimated B',#4/15/2007#)",
        "INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],"
        "[Prior Year Full Year],[Withholding]) VALUES(5,#12/31/2005#,12000,10000,1,0)",
        "INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],"
        "[Prior Year Full Year],[Withholding]) VALUES(6,#12/31/2006#,30000,0,0,0)",
    };
    for (const QString& s : statements)
        db.exec(s);
}

TaxpayerCase taxpayer(SqliteDatabase& db, int number) {
    return *CaseReader(db).read(number);
}

} // namespace

TEST(HandedOn, AReportShowsItsOwnRunsRowsWhateverRunsAfterIt) {
    DataDir dir;
    SqliteDatabase mine(dir.mainFile());
    SqliteDatabase theirs(dir.mainFile()); // another process on the same file
    addCases(mine);
    // Interest, penalty and summary on [Event Table] and [Summary Table], deposit on [Event Table], estimated on
    // [Estimated Tax Table].
    const std::pair<const char*, std::pair<int, int>> kinds[] = {
        {"interest", {1, 2}}, {"penalty", {1, 2}}, {"summary", {1, 2}}, {"deposit", {3, 4}}, {"estimated", {5, 6}}};
    for (const auto& [key, pair] : kinds) {
        SCOPED_TRACE(key);
        const ReportKind& kind = *ReportKind::byKey(QLatin1String(key));
        Quiet quiet;
        RunResult a, b, alone;
        ASSERT_EQ(kind.run(mine, quiet, taxpayer(mine, pair.first), a), RunOutcome::Written)
            << quiet.said.join(' ').toStdString();
        ASSERT_EQ(kind.run(theirs, quiet, taxpayer(theirs, pair.second), b), RunOutcome::Written);
        // The result table now holds the other run's rows: a report that read them back would show them.
        EXPECT_EQ(dump(mine.query(kind.layout->query), &b.rows), dump(b.rows));
        EXPECT_NE(dump(a.rows), dump(b.rows));

        // The rows and the total handed on are those of this taxpayer's own run, as a run alone gives them.
        ASSERT_EQ(kind.run(mine, quiet, taxpayer(mine, pair.first), alone), RunOutcome::Written);
        EXPECT_EQ(dump(a.rows), dump(alone.rows));
        EXPECT_EQ(a.printed, alone.printed);
        const QDate printed(2026, 12, 8);
        EXPECT_EQ(reportCsv(buildReport(*kind.layout, taxpayer(mine, pair.first), a.rows, printed)),
                  reportCsv(buildReport(*kind.layout, taxpayer(mine, pair.first), alone.rows, printed)));
    }
    // The estimated-tax total printed is the run's own.
    RunResult a, b;
    Quiet quiet;
    const ReportKind& estimated = *ReportKind::byKey("estimated");
    estimated.run(mine, quiet, taxpayer(mine, 5), a);
    estimated.run(theirs, quiet, taxpayer(theirs, 6), b);
    EXPECT_TRUE(a.printed.startsWith("Estimated Tax Penalty: "));
    EXPECT_NE(a.printed, b.printed);
}

namespace {

// A database that fails, as one locked by another program does: its statements after the first `allowed`, or the
// rows of its cursors after the first `rows`.
class LockedPartway : public Database {
public:
    LockedPartway(SqliteDatabase& db, int allowed, int rows) : inner(db), left(allowed), rowsLeft(rows) {}
    void exec(const QString& s) override {
        tick(left);
        inner.exec(s);
    }
    RecordSet query(const QString& s) override {
        tick(left);
        return inner.query(s);
    }
    std::unique_ptr<Cursor> cursor(const QString& s) override {
        tick(left);
        class Failing : public Cursor {
        public:
            Failing(std::unique_ptr<Cursor> c, int& rows) : inner(std::move(c)), left(rows) {}
            bool next() override {
                tick(left);
                return inner->next();
            }
            int fieldCount() const override { return inner->fieldCount(); }
            int fieldIndex(const QString& name) const override { return inner->fieldIndex(name); }
            QVariant value(int field) const override { return inner->value(field); }

        private:
            std::unique_ptr<Cursor> inner;
            int& left;
        };
        return std::make_unique<Failing>(inner.cursor(s), rowsLeft);
    }
    void insertRows(const QString& t, const QStringList& c, const std::vector<QVariantList>& r) override {
        tick(left);
        inner.insertRows(t, c, r);
    }
    void begin() override { inner.begin(); }
    void commit() override { inner.commit(); }
    void rollback() override { inner.rollback(); }
    bool inTransaction() const override { return inner.inTransaction(); }

    static void tick(int& left) {
        if (left-- <= 0)
            throw StoreError("The database is in use by another program.", StoreError::Kind::InUse);
    }

private:
    SqliteDatabase& inner;
    int left;
    int rowsLeft;
};

} // namespace

// A store failure in the middle of the book is not one taxpayer's own stop: the book ends with it instead of carrying
// "database is locked" on a line as if it were that taxpayer's result.
TEST(HandedOn, AStoreFailureEndsTheWholeBook) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    addCases(db);
    const auto whole = WholeBook::summaries(db);
    ASSERT_EQ(whole.size(), 6u);
    for (int allowed = 0; allowed < 6; ++allowed) {
        LockedPartway locked(db, allowed, 1000);
        EXPECT_THROW(WholeBook::summaries(locked), StoreError) << allowed;
    }
    // Rows read until the lock comes, in the middle of the book.
    for (int rows = 0; rows < 12; ++rows) {
        LockedPartway locked(db, 1000, rows);
        EXPECT_THROW(WholeBook::summaries(locked), StoreError) << rows;
    }
    EXPECT_FALSE(db.inTransaction());
}

// Every CSV the program writes reads back, under RFC 4180, as the fields it meant: names that a spreadsheet would run
// keep an apostrophe before them, and a carriage return stays inside its field.
TEST(HandedOn, CsvFieldsReadBackAsWritten) {
    const QStringList names = {"=1+2",           "+cmd|' /C calc'!A0", "-2",          "@SUM(A1)",
                               "Bad\rRow, Inc.", "\"Quoted\"",         "Line\nBreak", "Plain"};
    std::vector<WholeBook::Line> lines;
    int n = 0;
    for (const QString& name : names) {
        WholeBook::Line l;
        l.number = ++n;
        l.name = name;
        l.message = name;
        lines.push_back(l);
    }
    const auto records = readCsv(WholeBook::csv(lines));
    ASSERT_EQ(records.size(), names.size() + 1);
    for (size_t i = 1; i < records.size(); ++i) {
        const QString& name = names[int(i - 1)];
        const bool formula = QStringLiteral("=+-@").contains(name.front());
        ASSERT_EQ(records[i].size(), 15) << name.toStdString();
        EXPECT_EQ(records[i][1], formula ? "'" + name : name);
        EXPECT_EQ(records[i][14], formula ? "'" + name : name);
    }
}

// On paper the interest report says what a refund took and that a corporate overpayment above $10,000 earns the lower
// rate on its part above it (the CSV keeps its columns alone): IRM 20.2.14, exhibit 20.2.14-7's overpayment.
TEST(InterestReportNotes, ARefundAndTheLowerRateAreSaid) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial "
            "Balance],[Corporate Taxpayer]) VALUES('Orleans 2004',#3/15/2005#,#8/29/2008#,-100000,1)");
    db.exec("INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],[Amount Of "
            "Refund]) VALUES(1,'Refund',#9/5/2008#,#8/29/2008#,100000)");
    Quiet quiet;
    RunResult result;
    const ReportKind& kind = *ReportKind::byKey("interest");
    const TaxpayerCase tp = taxpayer(db, 1);
    ASSERT_EQ(kind.run(db, quiet, tp, result), RunOutcome::Written) << quiet.said.join(' ').toStdString();
    const ReportContent content = buildReport(*kind.layout, tp, result.rows, QDate(2026, 12, 9));
    QStringList notes;
    for (const auto& line : content.lines)
        if (line.note)
            notes << line.header;
    ASSERT_EQ(notes.size(), 2) << notes.join('|').toStdString();
    EXPECT_TRUE(notes[0].startsWith("The rate shown is that of the first 10,000.00")) << notes[0].toStdString();
    EXPECT_EQ(notes[1], "Refund made 09/05/2008, interest allowed to 08/29/2008: 17,858.64 of interest went with it.");
    EXPECT_FALSE(reportCsv(content).contains("Refund made"));

    // 9,200.00 overpaid grows past 10,000.00 with its interest within its one balance period, which keeps the
    // corporate rate on all of it (IRM 20.2.14, figure 20.2.14-12): no word of the lower rate.
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],[Initial "
            "Balance],[Corporate Taxpayer]) VALUES('Stetson 2005',#3/15/2006#,#8/9/2008#,-9200,1)");
    const TaxpayerCase small = taxpayer(db, 2);
    ASSERT_EQ(kind.run(db, quiet, small, result), RunOutcome::Written);
    for (const auto& line : buildReport(*kind.layout, small, result.rows, QDate(2026, 12, 9)).lines)
        EXPECT_FALSE(line.note) << line.header.toStdString();
}
