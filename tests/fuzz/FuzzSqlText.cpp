// Statements of the program's SQL dialect: the translation never crashes, and a quoted text stays one literal
// whatever it holds.
#include "SqlText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        SqlText::translate(text);
    } catch (const SqlText::TranslationError&) {
    }
    // Any text, quoted, passes through untouched and names no other file.
    const QString statement =
        QStringLiteral("SELECT * FROM [Payment Table] WHERE [Taxpayer Name]=") + SqlText::quote(text);
    const SqlText::Translated t = SqlText::translate(statement);
    if (t.sql != statement || t.externalPath)
        std::abort();
    return 0;
}
