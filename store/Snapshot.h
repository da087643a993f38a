#pragma once

#include <QString>

// Writes a consistent copy of the database `source` to `destination`: the copy is made in a temporary file beside
// the destination and renamed over it only when whole, so the destination is always either the previous copy or
// the new one, never a torn file. Throws a StoreError.
void writeSnapshot(const QString& source, const QString& destination);
