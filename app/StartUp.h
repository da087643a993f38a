#pragma once

#include <QApplication>
#include <QLockFile>
#include <QString>

#include <memory>

// Exceptions that escape an event handler end in the global error handler; the program keeps running.
class TalvoroApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

// One running copy per user: a lock file in the user's runtime folder. A lock left by a copy that crashed is
// taken over, since its process no longer runs.
class SingleCopy {
public:
    static inline const QString alreadyRunning = QStringLiteral("Talvoro is already running.");
    SingleCopy();
    bool acquire();
    static QString lockPath();

private:
    std::unique_ptr<QLockFile> lock;
};

namespace StartUp {
// What the main window says when "Newpath" + kelvadat.mdb does not exist: the folder, the settings file, the way out.
QString missingDatabaseMessage(const QString& newpath);
// The data directory of a first start: the program's folder, or, where the user cannot write there (an
// installed program), a folder of the user's own holding copies of the delivered files.
QString firstDataFolder(const QString& programFolder);
QString firstDataFolder(const QString& programFolder, bool programFolderWritable);
// First start: the settings' first values; later starts: a usable "Newpath".
void settingsAndDatabaseCheck(const QString& programFolder);
} // namespace StartUp
