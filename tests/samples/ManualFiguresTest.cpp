#include "TaxpayerTransfer.h"
#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>

// The manual's figures are the figures the program computes: the shipped samples are retrieved into a fresh
// database, calculated with the runner, and every figure the help pages mark is compared with the printed value.
namespace {

QString runner(const DataDir& dir, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"), QStringList{"--data-dir", dir.newpath()} + args);
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString()
                               << QString::fromUtf8(p.readAllStandardError()).toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList csvCells(const QString& line) {
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ',' && !quoted) {
            cells << cell;
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells << cell;
    return cells;
}

std::vector<QStringList> csv(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly | QIODevice::Text);
    std::vector<QStringList> rows;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts))
        rows.push_back(csvCells(line));
    return rows;
}

std::map<QString, QString> marked(const QString& page) {
    QFile f(QStringLiteral(TALVORO_SOURCE_DIR "/data/help/") + page);
    f.open(QIODevice::ReadOnly | QIODevice::Text);
    const QString html = QString::fromUtf8(f.readAll());
    static const QRegularExpression fig(QStringLiteral("<span class=\"fig\" id=\"([^\"]+)\">([^<]*)</span>"));
    std::map<QString, QString> figures;
    for (auto it = fig.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        figures[m.captured(1)] = m.captured(2);
    }
    return figures;
}

// The figure a help page takes from a case folder of tests/golden, whose test holds the folder's expected files to
// what the program gives: "golden:CASE/FILE.csv:ROW:COLUMN" (ROW counted from 1 after the header, COLUMN by its
// header), or "golden:CASE/output.txt:TEXT" (what follows "TEXT: " on the line that begins with it).
std::optional<QString> goldenFigure(const QString& id) {
    const QString ref = id.mid(int(strlen("golden:")));
    const QString file = QStringLiteral(TALVORO_SOURCE_DIR "/tests/golden/") +
                         ref.section(':', 0, 0).section('/', 0, 0) + QStringLiteral("/expected/") +
                         ref.section(':', 0, 0).section('/', 1);
    if (file.endsWith(QLatin1String(".txt"))) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            return std::nullopt;
        const QString prefix = ref.section(':', 1) + QStringLiteral(": ");
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        return std::nullopt;
    }
    const auto rows = csv(file);
    bool ok = false;
    const int row = ref.section(':', 1, 1).toInt(&ok);
    const int column = rows.empty() ? -1 : int(rows[0].indexOf(ref.section(':', 2)));
    if (!ok || row < 1 || size_t(row) >= rows.size() || column < 0 || column >= rows[size_t(row)].size())
        return std::nullopt;
    return rows[size_t(row)][column];
}

} // namespace

// The pages that explain a rule with a case of tests/golden show that case's figures.
TEST(ManualFigures, AreTheFiguresOfTheirGoldenCases) {
    int compared = 0;
    for (const char* page :
         {"ftf-minimum.html", "rate-updates.html", "large-corporate.html", "whole-book.html", "estimated-tax.html",
          "netting.html", "transcript-import.html", "notice-check.html", "penalty-relief.html"}) {
        const auto figures = marked(QLatin1String(page));
        EXPECT_FALSE(figures.empty()) << page;
        for (const auto& [key, shown] : figures) {
            ASSERT_TRUE(key.startsWith("golden:")) << key.toStdString() << " in " << page;
            const auto figure = goldenFigure(key);
            ASSERT_TRUE(figure) << "no figure for " << key.toStdString() << " in " << page;
            EXPECT_EQ(shown, *figure) << key.toStdString() << " in " << page;
            ++compared;
        }
    }
    EXPECT_GT(compared, 15);
}

TEST(ManualFigures, AreTheProgramsFiguresForTheSamples) {
    DataDir dir;
    for (const char* sample : {"income-tax-sample.mdb", "payroll-sample.mdb"})
        ASSERT_EQ(TaxpayerTransfer::retrieve(QStringLiteral(TALVORO_BIN_DIR "/samples/") + sample, dir.mainFile()),
                  TaxpayerTransfer::Outcome::Copied);

    std::map<QString, QString> computed;
    const QString summaryCsv = dir.path("summary.csv");
    for (const auto& [prefix, number] : {std::pair{"income", "9001"}, std::pair{"payroll", "9002"}}) {
        runner(dir, {"--taxpayer", number, "--report", "summary", "--csv", summaryCsv});
        const auto rows = csv(summaryCsv);
        ASSERT_EQ(rows.size(), 2u);
        for (int c = 0; c < rows[0].size(); ++c)
            computed[QStringLiteral("%1.summary.%2").arg(prefix, rows[0][c])] = rows[1][c];
    }
    computed["income.interest"] = computed["income.summary.Interest"];
    computed["income.failureToPay"] = computed["income.summary.Failure To Pay Penalty"];
    computed["income.failureToFile"] = computed["income.summary.Failure To File Penalty"];
    computed["income.accuracy"] = computed["income.summary.Accuracy Penalty"];

    const QString interestCsv = dir.path("interest.csv");
    runner(dir, {"--taxpayer", "9001", "--report", "interest", "--csv", interestCsv});
    computed["income.firstPeriod"] = csv(interestCsv)[2][8];

    const QString depositCsv = dir.path("deposit.csv");
    runner(dir, {"--taxpayer", "9002", "--report", "deposit", "--csv", depositCsv});
    int late = 0;
    for (const auto& row : csv(depositCsv))
        if (row[5] != "0" && row[0] != "Date")
            computed[QStringLiteral("payroll.deposit.%1").arg(++late)] = row[7];

    for (const QString& line :
         runner(dir, {"--taxpayer", "9002", "--balance-at", "05/10/2005"}).split('\n', Qt::SkipEmptyParts))
        computed["payroll.balance." + line.section(": ", 0, 0)] = line.section(": ", 1);

    int compared = 0;
    for (const char* page : {"example-income.html", "example-payroll.html"}) {
        for (const auto& [key, shown] : marked(QLatin1String(page))) {
            ASSERT_TRUE(computed.count(key)) << "no computed figure for " << key.toStdString();
            EXPECT_EQ(shown, computed[key]) << key.toStdString() << " in " << page;
            ++compared;
        }
    }
    EXPECT_GT(compared, 20);
}
