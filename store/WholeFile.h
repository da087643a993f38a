#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Writes a file whole or not at all. The target is refused first when it is one of the program's own files or
// exists and is not a regular file (ProgramFiles::checkWriteTarget). The bytes go to a temporary file of this write's
// own beside the target ("NAME.XXXXXX.part", created exclusively, so two writes to one name never share it); every
// write, the flush to disk and the close are checked; only then is it renamed over `file`, in one step. On any
// failure the previous file is left exactly as it was, the temporary file is removed, and a StoreError says why
// ("No space left on device"). The file "-" is standard output.
void writeWholeFile(const QString& file, const std::function<void(QIODevice&)>& write);

// A temporary file of its own beside `target`, created exclusively and empty, for a write that renames it over
// `target` when it is whole; throws a StoreError when the folder cannot take it.
QString reserveTemporaryBeside(const QString& target, const QString& suffix);

// Renames `temporary` over `target` in one step, after forcing it to disk; throws a StoreError (and removes the
// temporary file) when that fails.
void renameOver(const QString& temporary, const QString& target);

// The whole content of a file the program reads (a data file, a rates file): opened only when it is a regular file,
// and at most `limit` bytes, so that a pipe, a device or a huge file is refused with a StoreError naming `what` and
// the file instead of keeping the program waiting or filling its memory.
QByteArray readRegularFile(const QString& file, qint64 limit, const QString& what);

// The limit of a data file: far above what any of them holds.
inline constexpr qint64 dataFileLimit = qint64(64) << 20;
