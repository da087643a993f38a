#pragma once

#include <QString>

#include <functional>

class QIODevice;

// Writes a file whole or not at all. The bytes go to `file` + ".part" (cleared first, so that a part left by a
// killed write never lingers past the next one); every write, the flush to disk and the close are checked; only then
// is the part renamed over `file`, in one step. On any failure the previous file is left exactly as it was, the part
// is removed, and a StoreError says why ("No space left on device").
void writeWholeFile(const QString& file, const std::function<void(QIODevice&)>& write);
