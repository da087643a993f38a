#pragma once

#include "RunReporter.h"

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

} // namespace ToolSupport
