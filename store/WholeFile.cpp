#include "WholeFile.h"

#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

[[noreturn]] void refuse(const QString& file, const QString& why) {
    throw StoreError(QStringLiteral("The file \"%1\" could not be written: %2. The previous file is kept.")
                         .arg(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()), why));
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

void writeWholeFile(const QString& file, const std::function<void(QIODevice&)>& write) {
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    QFile out(part);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        refuse(file, out.errorString());
    try {
        write(out);
    } catch (...) {
        out.close();
        QFile::remove(part);
        throw;
    }
    // A failed write may surface only at the flush; the data must be on disk before the old file goes.
    const bool flushed = out.error() == QFileDevice::NoError && out.flush() && ::fsync(out.handle()) == 0;
    const QString why = out.error() != QFileDevice::NoError ? out.errorString() : systemError();
    out.close();
    if (!flushed || out.error() != QFileDevice::NoError) {
        QFile::remove(part);
        refuse(file, flushed ? out.errorString() : why);
    }
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(file).constData()) != 0) {
        const QString reason = systemError();
        QFile::remove(part);
        refuse(file, reason);
    }
}
