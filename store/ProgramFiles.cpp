#include "ProgramFiles.h"

#include "StoreError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

namespace {

QString& sessionFolder() {
    static QString folder;
    return folder;
}

QString& dataFilesFolder() {
    static QString folder;
    return folder;
}

// What a file of the data folder is to the program, by its name; empty for a file that is not the program's.
QString kindByName(const QString& name) {
    static const QRegularExpression journal(QStringLiteral("^(.+)(-journal|-wal|-shm|\\.lock)$"));
    static const QRegularExpression backup(QStringLiteral("^bak_[0-9]+_kelvadat\\.mdb$"));
    static const QRegularExpression upgradeCopy(QStringLiteral("^bak_v[0-9]+_.+$"));
    const auto j = journal.match(name);
    if (j.hasMatch() && !kindByName(j.captured(1)).isEmpty())
        return QStringLiteral("a file the program keeps beside its database");
    if (name == QLatin1String("kelvadat.mdb"))
        return QStringLiteral("the program's database");
    if (name == QLatin1String("kelvaSav.mdb"))
        return QStringLiteral("the empty database that saved taxpayers are written into");
    if (backup.match(name).hasMatch())
        return QStringLiteral("a backup copy of the program's database");
    if (upgradeCopy.match(name).hasMatch())
        return QStringLiteral("the copy of a database kept from before its upgrade");
    return QString();
}

const QStringList& shippedNames() {
    static const QStringList names = {DataFiles::rates, DataFiles::minimums, DataFiles::holidays,
                                      DataFiles::estimatedTaxRules};
    return names;
}

// The canonical path a write to `target` would replace: that of the file itself when it exists, else of its folder
// with its name.
QString canonicalTarget(const QString& target) {
    const QFileInfo info(target);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(info.fileName());
}

bool sameFile(const struct stat& a, const QString& path) {
    struct stat b;
    return ::stat(QFile::encodeName(path).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

namespace ProgramFiles {

void setDataFolder(const QString& folder) {
    sessionFolder() = folder;
}

QString dataFolder() {
    return sessionFolder();
}

QString ownFileAt(const QString& target) {
    const QString canonical = canonicalTarget(target);
    if (canonical.isEmpty())
        return QString();
    const QFileInfo where(canonical);
    const QString data = sessionFolder().isEmpty() ? QString() : QFileInfo(sessionFolder()).canonicalFilePath();
    const QString shipped = QFileInfo(QFileInfo(DataFiles::path(DataFiles::rates)).path()).canonicalFilePath();
    if (!data.isEmpty() && where.path() == data) {
        const QString kind = kindByName(where.fileName());
        if (!kind.isEmpty())
            return kind + QStringLiteral(" (") + where.fileName() + QLatin1Char(')');
    }
    if (!shipped.isEmpty() && where.path() == shipped && shippedNames().contains(where.fileName()))
        return QStringLiteral("a data file the program reads (") + where.fileName() + QLatin1Char(')');

    // Another name for one of them: a hard link.
    struct stat own;
    if (::stat(QFile::encodeName(canonical).constData(), &own) != 0)
        return QString();
    if (!data.isEmpty())
        for (const QString& name : QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (!kindByName(name).isEmpty() && sameFile(own, QDir(data).filePath(name)))
                return kindByName(name) + QStringLiteral(" (") + name + QLatin1Char(')');
    if (!shipped.isEmpty())
        for (const QString& name : shippedNames())
            if (sameFile(own, QDir(shipped).filePath(name)))
                return QStringLiteral("a data file the program reads (") + name + QLatin1Char(')');
    return QString();
}

void checkWriteTarget(const QString& target) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath());
    if (target.isEmpty())
        throw StoreError(QStringLiteral("No file name was given to write to."));
    const QString own = ownFileAt(target);
    if (!own.isEmpty())
        throw StoreError(
            QStringLiteral("The file \"%1\" is %2 and is never overwritten. Choose another name.").arg(shown, own));
    const QFileInfo info(target);
    // A pipe, a device or a folder is never replaced by a file (as root that would replace it for everyone).
    if ((info.exists() || info.isSymLink()) && !info.isFile())
        throw StoreError(QStringLiteral("\"%1\" is not a regular file (it is a folder, a pipe, a device or a link to "
                                        "one) and is not replaced. Choose another name.")
                             .arg(shown));
}

} // namespace ProgramFiles

namespace DataFiles {

QString path(const QString& name) {
    const QString& f = dataFilesFolder();
    return QDir(f.isEmpty() ? QCoreApplication::applicationDirPath() : f).filePath(name);
}

void setFolder(const QString& f) {
    dataFilesFolder() = f;
}

} // namespace DataFiles
