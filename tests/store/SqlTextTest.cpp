#include "SqlText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using SqlText::translate;

// Number texts: doubles carry 15 significant digits, as the statements write them.
TEST(SqlTextNumbers, DoublesAsTheStatementsWriteThem) {
    // The one-day factor at 1 % in a 365-day year.
    const double factor = (1 + 0.01 / 365) - 1;
    EXPECT_EQ(SqlText::dbl(factor), "2.73972602740091E-05");
    EXPECT_EQ(SqlText::dbl(0.07), "0.07");
    EXPECT_EQ(SqlText::dbl(0.0001), "0.0001");
    EXPECT_EQ(SqlText::dbl(0.00001), "1E-05");
    EXPECT_EQ(SqlText::dbl(1e15), "1E+15");
    EXPECT_EQ(SqlText::dbl(123456789012345.0), "123456789012345");
    EXPECT_EQ(SqlText::dbl(-1e-100), "-1E-100");
}

TEST(SqlTextNumbers, NumbersThatCannotBeWrittenAreRefused) {
    EXPECT_THROW(SqlText::dbl(std::numeric_limits<double>::infinity()), std::invalid_argument);
    EXPECT_THROW(SqlText::dbl(std::nan("")), std::invalid_argument);
}

TEST(SqlTextLiterals, DatesAndQuotedText) {
    EXPECT_EQ(SqlText::date(QDate(2005, 4, 15)), "#4/15/2005#");
    EXPECT_EQ(SqlText::date(QDate(100, 1, 2)), "#1/2/0100#");
    EXPECT_THROW(SqlText::date(QDate()), std::invalid_argument);
    EXPECT_EQ(SqlText::quote("O'Brien"), "'O''Brien'");
    EXPECT_EQ(SqlText::quote(""), "''");
    EXPECT_EQ(SqlText::quote("''"), "''''''");
}

TEST(SqlTextTranslate, DateLiteralsBecomeIsoText) {
    EXPECT_EQ(
        translate("SELECT * FROM [Payment Table] WHERE [Date Of Payment]<=#4/15/2005# And [Taxpayer Number]=3").sql,
        "SELECT * FROM [Payment Table] WHERE [Date Of Payment]<='2005-04-15' And [Taxpayer Number]=3");
    EXPECT_EQ(translate("VALUES(#12/31/9999#,#1/1/0100#)").sql, "VALUES('9999-12-31','0100-01-01')");
    // A # inside text is text, not a date.
    EXPECT_EQ(translate("SELECT 'Room #4/1' WHERE [Date]=#2/29/2004#").sql,
              "SELECT 'Room #4/1' WHERE [Date]='2004-02-29'");
    EXPECT_THROW(translate("WHERE [Date]=#2/29/2005#"), SqlText::TranslationError);
    EXPECT_THROW(translate("WHERE [Date]=#13/1/2005#"), SqlText::TranslationError);
    EXPECT_THROW(translate("WHERE [Date]=#4/15/2005"), SqlText::TranslationError);
    EXPECT_THROW(translate("WHERE [Date]=#yesterday#"), SqlText::TranslationError);
}

TEST(SqlTextTranslate, DeleteStarAndBackQuotedNames) {
    EXPECT_EQ(translate("DELETE * FROM [Event Table]").sql, "DELETE FROM [Event Table]");
    EXPECT_EQ(translate("delete  *  from [Summary Table]").sql, "DELETE FROM [Summary Table]");
    EXPECT_EQ(translate("SELECT `Event Table`.`Date` FROM `Event Table`").sql,
              "SELECT [Event Table].[Date] FROM [Event Table]");
    // Only the statement's own words are rewritten, never text inside quotes.
    EXPECT_EQ(translate("INSERT INTO [Event Table]([Event]) VALUES('DELETE * FROM x')").sql,
              "INSERT INTO [Event Table]([Event]) VALUES('DELETE * FROM x')");
    EXPECT_EQ(translate("SELECT [UNDELETE * FROM]").sql, "SELECT [UNDELETE * FROM]");
}

TEST(SqlTextTranslate, QuotedNamesStayOneLiteral) {
    const QString name = "O'Brien'); DROP TABLE [Payment Table]; --";
    const auto t = translate("SELECT * FROM [Payment Table] WHERE [Taxpayer Name]=" + SqlText::quote(name));
    EXPECT_EQ(t.sql,
              "SELECT * FROM [Payment Table] WHERE [Taxpayer Name]='O''Brien''); DROP TABLE [Payment Table]; --'");
    EXPECT_THROW(translate("WHERE [Taxpayer Name]='O'Brien'"), SqlText::TranslationError);
}

TEST(SqlTextTranslate, InClauseNamesAnAttachedFile) {
    auto t = translate("INSERT INTO [Basic Taxpayer Data] IN '/data/save.mdb' 'Access' SELECT * from "
                       "[Basic Taxpayer Data] where [Taxpayer Number] =12");
    ASSERT_TRUE(t.externalPath);
    EXPECT_EQ(*t.externalPath, "/data/save.mdb");
    EXPECT_EQ(t.sql, "INSERT INTO xfer.[Basic Taxpayer Data] SELECT * from [Basic Taxpayer Data] where "
                     "[Taxpayer Number] =12");

    // A path with an apostrophe, quoted by doubling it.
    t = translate("INSERT INTO [Payment Table] IN " + SqlText::quote("/home/o'brien/a.mdb") +
                  " 'Access' SELECT * from [Payment Table]");
    ASSERT_TRUE(t.externalPath);
    EXPECT_EQ(*t.externalPath, "/home/o'brien/a.mdb");
    EXPECT_EQ(t.sql, "INSERT INTO xfer.[Payment Table] SELECT * from [Payment Table]");

    // An append with a column list fills the columns of those names.
    t = translate("INSERT INTO [Payment Table] IN 'k.mdb' 'Access' SELECT [Taxpayer Number],[Event] from "
                  "[Payment Table]");
    EXPECT_EQ(t.sql, "INSERT INTO xfer.[Payment Table] ([Taxpayer Number],[Event]) SELECT [Taxpayer Number],[Event] "
                     "from [Payment Table]");

    // The same file named twice is one attachment; two files are refused.
    t = translate("SELECT COUNT(*) FROM [A] IN 'k.mdb' 'Access' WHERE [Row] IN (SELECT [Row] FROM [A] IN 'k.mdb' "
                  "'Access')");
    EXPECT_EQ(t.sql, "SELECT COUNT(*) FROM xfer.[A] WHERE [Row] IN (SELECT [Row] FROM xfer.[A])");
    EXPECT_THROW(translate("SELECT * FROM [A] IN 'a.mdb' 'Access', [B] IN 'b.mdb' 'Access'"),
                 SqlText::TranslationError);
    EXPECT_FALSE(translate("SELECT * FROM [A] WHERE [Row] IN (1, 2)").externalPath);
}
