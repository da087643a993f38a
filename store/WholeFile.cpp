#include "WholeFile.h"

#include "ProgramFiles.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString shown(const QString& file) {
    return QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
}

[[noreturn]] void refuse(const QString& file, const QString& why) {
    throw StoreError(
        QStringLiteral("The file \"%1\" could not be written: %2. The previous file is kept.").arg(shown(file), why));
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The mode a new file gets from the user's umask, or the mode of the file it replaces.
mode_t modeFor(const QString& target) {
    struct stat st;
    if (::stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolderOf(const QString& file) {
    const int fd = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void writeToStandardOutput(const std::function<void(QIODevice&)>& write) {
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        throw StoreError(QStringLiteral("The standard output cannot be written to."));
    write(out);
    if (!out.flush() || out.error() != QFileDevice::NoError)
        throw StoreError(QStringLiteral("The standard output could not be written: %1").arg(out.errorString()));
}

} // namespace

QString reserveTemporaryBeside(const QString& target, const QString& suffix) {
    const QFileInfo info(target);
    QTemporaryFile reserved(info.absoluteDir().filePath(info.fileName() + QStringLiteral(".XXXXXX") + suffix));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        refuse(target, reserved.errorString());
    return reserved.fileName();
}

void renameOver(const QString& temporary, const QString& target) {
    const int fd = ::open(QFile::encodeName(temporary).constData(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const QString why = systemError();
    if (fd >= 0)
        ::close(fd);
    if (!synced) {
        QFile::remove(temporary);
        refuse(target, why);
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString reason = systemError();
        QFile::remove(temporary);
        refuse(target, reason);
    }
    syncFolderOf(target);
}

void writeWholeFile(const QString& file, const std::function<void(QIODevice&)>& write) {
    if (file == QLatin1String("-")) {
        writeToStandardOutput(write);
        return;
    }
    ProgramFiles::checkWriteTarget(file);
    const QFileInfo info(file);
    QTemporaryFile out(info.absoluteDir().filePath(info.fileName() + QStringLiteral(".XXXXXX.part")));
    if (!out.open())
        refuse(file, out.errorString());
    try {
        write(out);
    } catch (...) {
        out.close();
        throw; // the temporary file removes itself
    }
    // A failed write may surface only at the flush; the data must be on disk before the old file goes.
    const bool flushed = out.error() == QFileDevice::NoError && out.flush() && ::fsync(out.handle()) == 0 &&
                         ::fchmod(out.handle(), modeFor(file)) == 0;
    const QString why = out.error() != QFileDevice::NoError ? out.errorString() : systemError();
    out.close();
    if (!flushed || out.error() != QFileDevice::NoError)
        refuse(file, flushed ? out.errorString() : why);
    if (std::rename(QFile::encodeName(out.fileName()).constData(), QFile::encodeName(file).constData()) != 0)
        refuse(file, systemError());
    out.setAutoRemove(false);
    syncFolderOf(file);
}

QByteArray readRegularFile(const QString& file, qint64 limit, const QString& what) {
    const QString name = shown(file);
    // Opened without waiting, so that a pipe with no writer cannot hold the program; only then is it known to be a
    // regular file, so that nothing can swap one in between the check and the read.
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw StoreError(QStringLiteral("The %1 \"%2\" cannot be read: %3.").arg(what, name, systemError()));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw StoreError(QStringLiteral("The %1 \"%2\" is not a regular file (a folder, a pipe or a device): it is "
                                        "not read.")
                             .arg(what, name));
    }
    if (st.st_size > limit) {
        ::close(fd);
        throw StoreError(QStringLiteral("The %1 \"%2\" is too large (%3 bytes) to be one: it is not read.")
                             .arg(what, name)
                             .arg(qint64(st.st_size)));
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw StoreError(QStringLiteral("The %1 \"%2\" cannot be read.").arg(what, name));
    }
    // A file that grows while it is read is cut at the limit and refused.
    const QByteArray bytes = f.read(limit + 1);
    if (bytes.size() > limit)
        throw StoreError(QStringLiteral("The %1 \"%2\" is too large to be one: it is not read.").arg(what, name));
    if (f.error() != QFileDevice::NoError)
        throw StoreError(QStringLiteral("The %1 \"%2\" cannot be read: %3.").arg(what, name, f.errorString()));
    return bytes;
}
