#pragma once

#include "RunReporter.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>

// What the command-line programs share.
namespace ToolSupport {

// Standard error carries the program's own messages only, not Qt's notes about the desktop it runs in.
inline void quietQt() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            QTextStream(stderr) << text << Qt::endl;
    });
}

// A run's messages kept rather than shown.
class QuietReporter : public RunReporter {
public:
    QStringList messages;
    void message(const QString& text) override { messages << text; }
    void notice(const QString& text) override { messages << text; }
    void progress(int) override {}
    void progressVisible(bool) override {}
};

// `file` made a fresh, writable copy of the database delivered beside the program (for a benchmark's own data).
inline void freshDatabase(const QString& file) {
    QFile::remove(file);
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvadat.mdb"), file);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace ToolSupport
