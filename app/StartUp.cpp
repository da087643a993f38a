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
        ErrorHandler::report({e.message(), failureStore});
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
    return QStringLiteral("The main data file, ") + Settings::databaseFileName +
           QStringLiteral(", could not be found in the path directory specified in the Windows registry ") + newpath +
           QStringLiteral(" .") + QStringLiteral("\n\n") +
           QStringLiteral("The file may be missing from the path directory or the path name may contain a syntax "
                          "error. To use the program you will need to copy the files to ") +
           newpath +
           QStringLiteral(" or correct the syntax of the path specified for the program in the Windows "
                          "registry.");
}

void StartUp::settingsAndDatabaseCheck(const QString& programFolder) {
    SectionTrail::enter(QStringLiteral("Module1.Main"));
    if (Settings::newpath().isEmpty() && Settings::errorState().isEmpty() && Settings::showSplash().isEmpty()) {
        Settings::writeFirstStartValues(programFolder);
        return;
    }
    Settings::writeFirstStartValues(programFolder); // any key still missing gets its first value
    const QString newpath = Settings::newpath();
    if (!QFileInfo(Settings::databasePath(newpath)).isFile())
        MessageBoxes::show(nullptr, missingDatabaseMessage(newpath));
}
