#include "StartUp.h"

#include "ErrorHandler.h"
#include "MessageBoxes.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool TalvoroApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const StoreError& e) {
        ErrorHandler::report({e.message(), failureStore, e.details()});
    } catch (const std::exception& e) {
        ErrorHandler::report({QString::fromStdString(e.what()), failureProgram});
    } catch (...) {
        ErrorHandler::report({QStringLiteral("Unknown failure"), failureUnknown});
    }
    return false;
}

QString SingleCopy::lockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("talvoro.lock"));
}

SingleCopy::SingleCopy() : lock(std::make_unique<QLockFile>(lockPath())) {
    // The lock is held for the whole run, however long: only a dead process makes it stale.
    lock->setStaleLockTime(0);
}

bool SingleCopy::acquire() {
    return lock->tryLock(0);
}

QString StartUp::missingDatabaseMessage(const QString& newpath) {
    return QStringLiteral("The data folder %1 holds no %2, the program's database. The folder is set in the settings "
                          "file %3 (\"%4\"). Click Choose Folder… and choose the folder that holds %2; until then "
                          "the commands that need it are off.")
        .arg(QDir::toNativeSeparators(newpath), Settings::databaseFileName, Settings::fileName(), Settings::newpathKey);
}

namespace {

void copyTree(const QString& from, const QString& to) {
    const QFileInfo source(from);
    if (source.isDir()) {
        QDir().mkpath(to);
        for (const QString& name : QDir(from).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            copyTree(QDir(from).filePath(name), QDir(to).filePath(name));
    } else if (source.isFile() && !QFileInfo::exists(to)) {
        QFile::copy(from, to);
        QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ReadOther);
    }
}

} // namespace

QString StartUp::firstDataFolder(const QString& programFolder) {
    return firstDataFolder(programFolder, QFileInfo(programFolder).isWritable());
}

QString StartUp::firstDataFolder(const QString& programFolder, bool programFolderWritable) {
    if (programFolderWritable)
        return programFolder;
    // Installed for every user: each user's data starts as a copy of the delivered files in a folder of their own.
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(own);
    for (const char* item :
         {"kelvadat.mdb", "kelvaSav.mdb", "ipmanual.pdf", "p17pg18-19.pdf", "p15pg21-22.pdf", "Brenhal", "samples"})
        copyTree(QDir(programFolder).filePath(QLatin1String(item)), QDir(own).filePath(QLatin1String(item)));
    return own;
}

void StartUp::settingsAndDatabaseCheck(const QString& programFolder) {
    SectionTrail::enter(QStringLiteral("Module1.Main"));
    if (Settings::newpath().isEmpty() && Settings::errorState().isEmpty() && Settings::showSplash().isEmpty()) {
        Settings::writeFirstStartValues(firstDataFolder(programFolder));
        return;
    }
    // An empty "Newpath", or one naming a file, is as good as missing: it gets its first-start value again, so the
    // program never opens a kelvadat.mdb of whatever folder it was started from.
    if (!Settings::usableNewpath(Settings::newpath()))
        Settings::setNewpath(Settings::withSeparator(firstDataFolder(programFolder)));
    Settings::writeFirstStartValues(programFolder); // any other key still missing gets its first value
    // A folder without the database is said on the main window, which offers to choose another.
}
