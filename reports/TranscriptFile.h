#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a transcript file to read: the file as it is, or for a PDF the text of its pages (a page a line
// break apart). Throws a StoreError for a file that cannot be read, is not a regular file, or is larger than any
// transcript.
QByteArray transcriptBytes(const QString& file);
