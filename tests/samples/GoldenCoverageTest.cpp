#include "EventTexts.h"
#include "ReportKind.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

// Every kind of report and every kind of penalty the program makes is pinned by a golden case: a new one without
// its case fails here.
namespace {

QString allOf(const QString& pattern) {
    QString text;
    QDirIterator it(QStringLiteral(TALVORO_SOURCE_DIR "/tests/golden"), {pattern}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(f.readAll()) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

TEST(GoldenCoverage, EveryReportKindHasAGoldenCase) {
    const QString commands = allOf(QStringLiteral("commands"));
    for (const ReportKind& kind : ReportKind::all())
        EXPECT_TRUE(commands.contains(QStringLiteral("--report ") + kind.key)) << kind.key.toStdString();
}

TEST(GoldenCoverage, EveryPenaltyKindHasAGoldenCase) {
    const QString expected = allOf(QStringLiteral("*.csv")) + allOf(QStringLiteral("output.txt"));
    for (const QString& penalty : EventTexts::penalties)
        EXPECT_TRUE(expected.contains(penalty)) << penalty.toStdString();
    EXPECT_TRUE(expected.contains(QStringLiteral("Estimated Tax Penalty: ")));
}
