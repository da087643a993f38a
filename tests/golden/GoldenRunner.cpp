// Runs one case folder of tests/golden or tests/regress and compares what talvoro-run gives with what the folder
// expects. A folder holds:
//
//   case.sql       optional: statements of the program's dialect, run on a fresh copy of the delivered database
//   transfer.sql   optional: statements run, without any check, on a fresh copy of the empty template, which becomes
//                  @work/transfer.mdb (a saved-taxpayer file as another program may have written it)
//   commands       one talvoro-run command line a line (without --data-dir, which is the fresh data folder); "#"
//                  starts a comment; @work/, @case/ and @bin/ name the data folder, the case folder and the program's
//                  folder
//   expected/      output.txt: each command line after "$ ", then its standard output and error and "exit N"; and
//                  for every --csv NAME of the commands, NAME as it must be written
//   README.md      what the case shows, and where its figures come from
//
//   talvoro-golden CASE-FOLDER [--update] [--keep DIR] [--server]
//
// --server runs the same commands on a database of the test server (scripts/test-server) made from the prepared
// file, and compares with the same expected files; a message naming the database names the file there. A case
// folder that holds "file-only" (its reason inside) is about the file alone and is skipped on the server; a command
// line that ends in "# the folder's own" runs on the file there as well.
//
// A missing expected file fails. A difference prints the lines that differ. --update writes what the program gives
// as the expected files (for a new case, whose figures must then be checked by hand). --keep copies the data folder's
// files (the databases, every export) into DIR afterwards, to look at.

#include "ScratchServer.h"
#include "ServerTransfer.h"
#include "SqliteDatabase.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

QString readText(const QString& file, bool* ok = nullptr) {
    QFile f(file);
    const bool opened = f.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? QString::fromUtf8(f.readAll()) : QString();
}

bool writeText(const QString& file, const QString& text) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

// Splits a command line at blanks; "..." keeps blanks inside one argument.
QStringList splitArguments(const QString& line) {
    QStringList args;
    QString current;
    bool quoted = false, any = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any)
                args << current;
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        args << current;
    return args;
}

// The statements of an SQL text, its "--" comment lines left out.
QStringList statementsOf(const QString& sql) {
    QStringList lines;
    for (const QString& line : sql.split(QLatin1Char('\n')))
        if (!line.trimmed().startsWith(QLatin1String("--")))
            lines << line;
    QStringList statements;
    for (const QString& s : lines.join(QLatin1Char('\n')).split(QRegularExpression(QStringLiteral(";\\s*(\\n|$)"))))
        if (!s.trimmed().isEmpty())
            statements << s.trimmed();
    return statements;
}

// The lines that differ, with their numbers.
QString differences(const QString& expected, const QString& actual) {
    const QStringList e = expected.split(QLatin1Char('\n'));
    const QStringList a = actual.split(QLatin1Char('\n'));
    QString d;
    for (int i = 0; i < std::max(e.size(), a.size()); ++i) {
        const QString el = i < e.size() ? e[i] : QStringLiteral("(none)");
        const QString al = i < a.size() ? a[i] : QStringLiteral("(none)");
        if (el != al)
            d += QStringLiteral("  line %1\n    expected: %2\n    actual:   %3\n").arg(i + 1).arg(el, al);
    }
    return d;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    const QDir caseDir(args[1]);
    const bool update = args.contains(QStringLiteral("--update"));
    const QString bin = QCoreApplication::applicationDirPath();
    QTemporaryDir work;
    const QString workPath = QDir(work.path()).absolutePath();
    for (const char* f : {"kelvadat.mdb", "kelvaSav.mdb"}) {
        QFile::copy(QDir(bin).filePath(QLatin1String(f)), QDir(workPath).filePath(QLatin1String(f)));
        QFile::setPermissions(QDir(workPath).filePath(QLatin1String(f)),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    try {
        bool ok = false;
        const QString caseSql = readText(caseDir.filePath(QStringLiteral("case.sql")), &ok);
        if (ok) {
            SqliteDatabase db(QDir(workPath).filePath(QStringLiteral("kelvadat.mdb")));
            Transaction t(db);
            for (const QString& s : statementsOf(caseSql))
                db.exec(s);
            t.commit();
        }
        const QString transferSql = readText(caseDir.filePath(QStringLiteral("transfer.sql")), &ok);
        if (ok) {
            const QString transfer = QDir(workPath).filePath(QStringLiteral("transfer.mdb"));
            QFile::copy(QDir(bin).filePath(QStringLiteral("kelvaSav.mdb")), transfer);
            QFile::setPermissions(transfer, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            {
                QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
                raw.setDatabaseName(transfer);
                raw.open();
                QSqlQuery q(raw);
                for (const QString& s : statementsOf(transferSql))
                    if (!q.exec(s))
                        throw StoreError(s + QStringLiteral(": ") + q.lastError().text());
            }
            QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        }
    } catch (const StoreError& e) {
        out() << caseDir.dirName() << ": the case cannot be set up: " << e.message() << Qt::endl;
        return 1;
    }

    // On the server: a database of the case's own, made from the prepared file.
    const bool onServer = args.contains(QStringLiteral("--server"));
    std::optional<ServerAddress> server;
    QString serverName;
    if (onServer) {
        bool fileOnly = false;
        const QString reason = readText(caseDir.filePath(QStringLiteral("file-only")), &fileOnly);
        if (fileOnly || !ScratchServer::available()) {
            out() << caseDir.dirName() << ": skipped on the server: "
                  << (fileOnly ? reason.trimmed() : QStringLiteral("no test server was started")) << Qt::endl;
            return 77;
        }
        serverName = QStringLiteral("golden_%1_%2")
                         .arg(QString(caseDir.dirName())
                                  .replace(QRegularExpression(QStringLiteral("[^a-z0-9]")), QStringLiteral("_")))
                         .arg(QCoreApplication::applicationPid());
        try {
            server = ScratchServer::create(serverName);
            PostgresDatabase db(*server);
            ServerTransfer::copyWholeFile(QDir(workPath).filePath(QStringLiteral("kelvadat.mdb")), db);
        } catch (const StoreError& e) {
            out() << caseDir.dirName() << ": the case cannot be set up on the server: " << e.message() << '\n'
                  << e.details() << Qt::endl;
            ScratchServer::drop(serverName);
            return 1;
        }
    }

    bool commandsFound = false;
    const QString commands = readText(caseDir.filePath(QStringLiteral("commands")), &commandsFound);
    if (!commandsFound) {
        out() << caseDir.dirName() << ": no commands file" << Qt::endl;
        return 1;
    }
    auto expand = [&](QString s) {
        return s.replace(QLatin1String("@work/"), workPath + QLatin1Char('/'))
            .replace(QLatin1String("@case/"), caseDir.absolutePath() + QLatin1Char('/'))
            .replace(QLatin1String("@bin/"), bin + QLatin1Char('/'));
    };
    QString output;
    QStringList csvFiles;
    for (const QString& raw : commands.split(QLatin1Char('\n'))) {
        const QString line = raw.section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList given = splitArguments(line);
        // The fresh data folder, unless the command names one of its own.
        QStringList runArgs;
        if (!given.contains(QStringLiteral("--data-dir")))
            runArgs = {QStringLiteral("--data-dir"), workPath};
        // A command about the data folder itself ("# the folder's own" after it) runs on the file there too.
        if (server && !raw.section(QLatin1Char('#'), 1).contains(QLatin1String("the folder's own")))
            runArgs << QStringLiteral("--server") << server->text();
        for (int i = 0; i < given.size(); ++i) {
            QString a = expand(given[i]);
            // An exported file without a folder goes into the data folder, and a CSV file there is compared with the
            // expected one ("-" is standard output).
            if (i > 0 && (given[i - 1] == QLatin1String("--csv") || given[i - 1] == QLatin1String("--pdf")) &&
                given[i] != QLatin1String("-") && !given[i].isEmpty() && !a.contains(QLatin1Char('/'))) {
                if (given[i - 1] == QLatin1String("--csv"))
                    csvFiles << given[i];
                a = QDir(workPath).filePath(a);
            }
            runArgs << a;
        }
        QProcess p;
        p.start(QDir(bin).filePath(QStringLiteral("talvoro-run")), runArgs);
        p.waitForFinished(120000);
        output += QStringLiteral("$ ") + line + QLatin1Char('\n') + QString::fromUtf8(p.readAllStandardOutput()) +
                  QString::fromUtf8(p.readAllStandardError()) + QStringLiteral("exit %1\n").arg(p.exitCode());
    }
    if (server) {
        // Where the file is named, the server's database is named on the server.
        output.replace(server->shown(),
                       QDir::toNativeSeparators(QDir(workPath).filePath(QStringLiteral("kelvadat.mdb"))));
        ScratchServer::drop(serverName);
    }
    // The folders as the commands name them: the expected output holds no path of this machine.
    output.replace(workPath, QStringLiteral("@work"));
    output.replace(caseDir.absolutePath(), QStringLiteral("@case"));
    output.replace(bin, QStringLiteral("@bin"));

    int failures = 0;
    auto compare = [&](const QString& name, const QString& actual) {
        const QString expectedFile = caseDir.filePath(QStringLiteral("expected/") + name);
        if (update && !server) {
            writeText(expectedFile, actual);
            return;
        }
        bool found = false;
        const QString expected = readText(expectedFile, &found);
        if (!found) {
            out() << caseDir.dirName() << ": expected/" << name << " is missing" << Qt::endl;
            ++failures;
        } else if (expected != actual) {
            out() << caseDir.dirName() << ": " << name << " differs\n" << differences(expected, actual) << Qt::flush;
            ++failures;
        }
    };
    const qsizetype keepAt = args.indexOf(QStringLiteral("--keep"));
    if (keepAt > 0 && keepAt + 1 < args.size()) {
        QDir().mkpath(args[keepAt + 1]);
        for (const QString& f : QDir(workPath).entryList(QDir::Files))
            QFile::copy(QDir(workPath).filePath(f), QDir(args[keepAt + 1]).filePath(f));
    }
    compare(QStringLiteral("output.txt"), output);
    for (const QString& csv : csvFiles)
        compare(csv, readText(QDir(workPath).filePath(csv)));
    if (failures == 0)
        out() << caseDir.dirName() << ": " << (update ? "written" : "as expected") << Qt::endl;
    return failures == 0 ? 0 : 1;
}
