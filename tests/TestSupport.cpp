#include "TestSupport.h"

#include "SqliteDatabase.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

QString deliveredFile(const QString& name) {
    return QStringLiteral(TALVORO_BIN_DIR "/") + name;
}

DataDir::DataDir() {
    for (const auto& name : {QStringLiteral("kelvadat.mdb"), QStringLiteral("kelvaSav.mdb")}) {
        if (!QFile::copy(deliveredFile(name), path(name)))
            ADD_FAILURE() << "cannot copy " << name.toStdString();
        QFile::setPermissions(path(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

// Opened for writing, as the program opens its database: a journal left by a killed writer is rolled back first,
// which a read-only connection cannot do.
QString dumpTable(const QString& file, const QString& table, const QString& orderBy) {
    SqliteDatabase db(file);
    const RecordSet rows =
        db.queryNative(QStringLiteral("SELECT * FROM [%1]%2")
                           .arg(table, orderBy.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + orderBy));
    QString out;
    for (int r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < rows.fields().size(); ++c) {
            const QVariant& v = rows.value(r, c);
            cells << (v.isValid() ? v.toString() : QStringLiteral("NULL"));
        }
        out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
    }
    return out;
}

QString integrityCheck(const QString& file) {
    SqliteDatabase db(file);
    return db.queryNative(QStringLiteral("PRAGMA integrity_check")).value(0, 0).toString();
}

void makeDatabase(const QString& file, const QString& sqlText) {
    const QString name = QStringLiteral("make-%1").arg(quintptr(&file));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open())
            ADD_FAILURE() << "cannot open " << file.toStdString();
        QSqlQuery q(db);
        for (const QString& statement : sqlText.split(QRegularExpression(QStringLiteral(";\\s*\\n")))) {
            if (statement.trimmed().isEmpty())
                continue;
            if (!q.exec(statement))
                ADD_FAILURE() << statement.left(200).toStdString() << ": " << q.lastError().text().toStdString();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

QString testData(const QString& name) {
    QFile f(QStringLiteral(TALVORO_SOURCE_DIR "/tests/data/") + name);
    if (!f.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "no test data " << name.toStdString();
    return QString::fromUtf8(f.readAll());
}

ProcessResult runTalvoro(const QStringList& args, int timeoutMs) {
    QProcess p;
    p.start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"), args);
    ProcessResult r;
    if (!p.waitForFinished(timeoutMs)) {
        r.timedOut = true;
        p.kill();
        p.waitForFinished();
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

std::vector<QStringList> readCsv(const QString& text) {
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false, wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            EXPECT_TRUE(field.isEmpty() && !wasQuoted) << "a quote inside a field, at " << i;
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == '\n')) {
            if (c == QLatin1Char('\r'))
                ++i;
            record << field;
            records.push_back(record);
            record.clear();
            field.clear();
            wasQuoted = false;
        } else {
            EXPECT_FALSE(wasQuoted) << "text after a closing quote, at " << i;
            EXPECT_NE(c, QLatin1Char('\r')) << "a bare carriage return outside quotes, at " << i;
            field += c;
        }
    }
    EXPECT_FALSE(quoted) << "an unterminated quote";
    if (!field.isEmpty() || !record.isEmpty()) {
        record << field;
        records.push_back(record);
    }
    return records;
}

void withinSeconds(int seconds, const std::function<void()>& work) {
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(seconds)) == std::future_status::timeout) {
        ADD_FAILURE() << "still running after " << seconds << " seconds";
        std::fflush(nullptr);
        std::_Exit(1);
    }
    done.get();
}
