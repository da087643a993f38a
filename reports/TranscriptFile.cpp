#include "TranscriptFile.h"

#include "StoreError.h"
#include "WholeFile.h"

#include <QDir>
#include <QPdfDocument>
#include <QPdfSelection>

namespace {
constexpr qint64 transcriptLimit = qint64(64) << 20;
} // namespace

QByteArray transcriptBytes(const QString& file) {
    QByteArray bytes = readRegularFile(file, transcriptLimit, QStringLiteral("transcript"));
    if (!bytes.startsWith("%PDF"))
        return bytes;
    QPdfDocument pdf;
    if (pdf.load(file) != QPdfDocument::Error::None)
        throw StoreError(QStringLiteral("The file %1 is a PDF that could not be opened: save the transcript's text "
                                        "instead and import that.")
                             .arg(QDir::toNativeSeparators(file)));
    QString text;
    for (int page = 0; page < pdf.pageCount(); ++page)
        text += pdf.getAllText(page).text() + QLatin1Char('\n');
    if (text.trimmed().isEmpty())
        throw StoreError(QStringLiteral("The file %1 is a PDF without text (a scanned page has none): save the "
                                        "transcript's text from the IRS's viewer instead and import that.")
                             .arg(QDir::toNativeSeparators(file)));
    return text.toUtf8();
}
