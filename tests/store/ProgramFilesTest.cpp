#include "ProgramFiles.h"
#include "StoreError.h"
#include "TestSupport.h"
#include "WholeFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

// No write of the program replaces its own files, whatever name reaches them, nor anything that is not a regular
// file; and the files it reads are read only when they are regular files of a bounded size.
namespace {

void writeText(const QString& file, const QByteArray& text) {
    writeWholeFile(file, [&text](QIODevice& d) { d.write(text); });
}

QByteArray contentOf(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// What a write to `target` is refused with; empty when it is written.
QString refusalOf(const QString& target) {
    try {
        writeText(target, "report");
        return QString();
    } catch (const StoreError& e) {
        return e.message();
    }
}

class ProgramFilesTest : public ::testing::Test {
protected:
    DataDir dir;
    void SetUp() override { ProgramFiles::setDataFolder(dir.newpath()); }
    void TearDown() override { ProgramFiles::setDataFolder(QString()); }
};

} // namespace

TEST_F(ProgramFilesTest, EveryNameOfTheProgramsFilesIsRefused) {
    const QByteArray database = contentOf(dir.mainFile());
    QFile::copy(dir.mainFile(), dir.path("bak_3_kelvadat.mdb"));
    QDir().mkpath(dir.path("sub"));
    ASSERT_EQ(::symlink(QFile::encodeName(dir.mainFile()).constData(),
                        QFile::encodeName(dir.path("sub/shortcut.mdb")).constData()),
              0);
    ASSERT_EQ(
        ::link(QFile::encodeName(dir.mainFile()).constData(), QFile::encodeName(dir.path("sub/hard.mdb")).constData()),
        0);
    const std::pair<const char*, const char*> targets[] = {
        {"kelvadat.mdb", "the program's database"},
        {"sub/../kelvadat.mdb", "the program's database"},
        {"sub/shortcut.mdb", "the program's database"}, // a symbolic link
        {"sub/hard.mdb", "the program's database"},     // another name of the same file
        {"kelvaSav.mdb", "the empty database"},
        {"bak_3_kelvadat.mdb", "a backup copy"},
        {"bak_2_kelvadat.mdb", "a backup copy"}, // not taken yet: still the program's name
        {"bak_v3_kelvaSav.mdb", "kept from before its upgrade"},
        {"kelvadat.mdb-wal", "beside its database"},
        {"kelvadat.mdb.lock", "beside its database"},
    };
    for (const auto& [name, kind] : targets) {
        const QString why = refusalOf(dir.path(QLatin1String(name)));
        EXPECT_TRUE(why.contains(QLatin1String(kind)) && why.contains("is never overwritten"))
            << name << ": " << why.toStdString();
    }
    EXPECT_EQ(contentOf(dir.mainFile()), database);
    // The shipped data files too.
    EXPECT_TRUE(refusalOf(DataFiles::path(DataFiles::holidays)).contains("a data file the program reads"));

    // Names that only look alike are the user's own.
    for (const char* name : {"kelvadat.mdb.csv", "my-kelvadat.mdb", "sub/kelvadat.mdb", "bak_x_kelvadat.mdb"}) {
        EXPECT_EQ(refusalOf(dir.path(QLatin1String(name))), QString()) << name;
        EXPECT_EQ(contentOf(dir.path(QLatin1String(name))), "report");
    }
}

TEST_F(ProgramFilesTest, ATargetThatIsNotARegularFileIsNeverReplaced) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path("pipe")).constData(), 0600), 0);
    ASSERT_EQ(::symlink("/proc/self/fd/1", QFile::encodeName(dir.path("to-stdout")).constData()), 0);
    ASSERT_EQ(::symlink("/dev/null", QFile::encodeName(dir.path("to-null")).constData()), 0);
    QDir().mkpath(dir.path("folder"));
    for (const char* name : {"pipe", "to-stdout", "to-null", "folder"}) {
        EXPECT_TRUE(refusalOf(dir.path(QLatin1String(name))).contains("is not a regular file")) << name;
    }
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(dir.path("pipe")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::lstat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_TRUE(refusalOf("/dev/null").contains("is not a regular file"));
}

TEST_F(ProgramFilesTest, AWriteLeavesNoFileOfItsOwnBehind) {
    writeText(dir.path("report.csv"), "first");
    writeText(dir.path("report.csv"), "second");
    EXPECT_EQ(contentOf(dir.path("report.csv")), "second");
    EXPECT_EQ(QDir(dir.path(".")).entryList({"report.csv*"}, QDir::Files | QDir::Hidden), QStringList{"report.csv"});
    // A failed write keeps the previous file and leaves no part.
    EXPECT_THROW(writeWholeFile(dir.path("report.csv"), [](QIODevice&) { throw StoreError("stopped"); }), StoreError);
    EXPECT_EQ(contentOf(dir.path("report.csv")), "second");
    EXPECT_EQ(QDir(dir.path(".")).entryList({"report.csv*"}, QDir::Files | QDir::Hidden), QStringList{"report.csv"});
}

// A pipe with no writer, a device that never ends, a folder and a file beyond the limit are each refused at once.
TEST_F(ProgramFilesTest, OnlyRegularFilesOfBoundedSizeAreRead) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path("pipe.csv")).constData(), 0600), 0);
    {
        QFile big(dir.path("big.csv"));
        big.open(QIODevice::WriteOnly);
        big.resize(2048);
    }
    QElapsedTimer clock;
    clock.start();
    for (const QString& file :
         {dir.path("pipe.csv"), QStringLiteral("/dev/zero"), dir.path("."), dir.path("big.csv")}) {
        try {
            readRegularFile(file, 1024, "rates file");
            ADD_FAILURE() << file.toStdString() << " was read";
        } catch (const StoreError& e) {
            EXPECT_TRUE(e.message().startsWith("The rates file \"")) << e.message().toStdString();
        }
    }
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(readRegularFile(dir.path("big.csv"), 4096, "rates file").size(), 2048);
}
