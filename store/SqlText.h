#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <optional>
#include <stdexcept>

// Statements are written in the program's own dialect: numbers as plain digits, dates as #m/d/yyyy#, names in
// square brackets, "DELETE * FROM", and "[Table] IN 'file' 'Access'" to name a table of another database file.
// Everything below builds pieces of that dialect; translate() turns a whole statement into SQLite.
namespace SqlText {

// A value of a double-precision field: at most 15 significant digits.
QString dbl(double value);
// A whole number as plain digits.
QString whole(qint64 value);
// "#4/15/2005#".
QString date(const QDate& value);
// Text between single quotes, every apostrophe doubled, so that any name is one literal and nothing more.
QString quote(const QString& value);

class TranslationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Translated {
    QString sql;
    // Set when the statement names another database file; the executor attaches it under `alias`.
    std::optional<QString> externalPath;
};

// The schema name under which a file named in an IN clause is attached.
inline constexpr const char* externalAlias = "xfer";

// Turns one statement of the program's dialect into SQLite. Throws TranslationError on a malformed date literal,
// an unterminated quote or two different files named in one statement.
Translated translate(const QString& statement);

// Turns one statement of the program's dialect into PostgreSQL: names in double quotes (a bare word that is the name
// of a table or column too, since the server folds unquoted names to lower case), dates as DATE 'YYYY-MM-DD', empty
// values sorted first as SQLite sorts them. A statement that names another database file is refused: the server
// reads no file.
QString translateForServer(const QString& statement);

// The same with every value of the statement (a text, a date, a number) taken out of its text as a parameter $1, $2 ...
// of it, in the program's types; a number that names a column by its place (ORDER BY 1) stays.
struct ServerStatement {
    QString sql;
    QVariantList parameters;
};
ServerStatement translateForServerBound(const QString& statement);

// A name between double quotes, every double quote doubled.
QString serverName(const QString& name);

} // namespace SqlText
