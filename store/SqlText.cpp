#include "SqlText.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace SqlText {
namespace {

// General format with `digits` significant digits, as printf's %G does it (ties to even on the exact binary value,
// trailing zeros dropped, exponent form below 1E-4 or from 10^digits on, at least two exponent digits).
QString general(double value, int digits) {
    if (!std::isfinite(value))
        throw std::invalid_argument("a number that is not finite cannot be written");
    if (value == 0.0)
        return QStringLiteral("0");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    QString text = QString::fromLatin1(buffer, int(result.ptr - buffer));
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

} // namespace

QString dbl(double value) {
    return general(value, 15);
}

QString whole(qint64 value) {
    return QString::number(value);
}

QString date(const QDate& value) {
    if (!value.isValid())
        throw std::invalid_argument("an empty or invalid date cannot be written");
    return QStringLiteral("#%1/%2/%3#").arg(value.month()).arg(value.day()).arg(value.year(), 4, 10, QLatin1Char('0'));
}

QString quote(const QString& value) {
    QString text = value;
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

namespace {

// Reads a quoted literal starting at `pos` (on the opening quote). Returns the index after the closing quote and
// stores the unescaped content.
qsizetype readQuoted(const QString& s, qsizetype pos, QString* content) {
    QString out;
    qsizetype i = pos + 1;
    while (i < s.size()) {
        if (s[i] == QLatin1Char('\'')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\'')) {
                out += QLatin1Char('\'');
                i += 2;
                continue;
            }
            if (content)
                *content = out;
            return i + 1;
        }
        out += s[i];
        ++i;
    }
    throw TranslationError("unterminated text literal in: " + s.toStdString());
}

QString isoDate(const QString& literal, const QString& statement) {
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{3,4})\\s*$"));
    const auto m = form.match(literal);
    QDate d;
    if (m.hasMatch())
        d = QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    if (!d.isValid())
        throw TranslationError("invalid date literal #" + literal.toStdString() + "# in: " + statement.toStdString());
    return QStringLiteral("'%1-%2-%3'")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

} // namespace

Translated translate(const QString& statement) {
    static const QRegularExpression deleteStar(QStringLiteral("\\GDELETE\\s+\\*\\s+FROM\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inClause(QStringLiteral("\\G\\s+IN\\s+'"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression accessTag(QStringLiteral("\\G\\s*'Access'"),
                                              QRegularExpression::CaseInsensitiveOption);

    Translated result;
    QString& out = result.sql;
    const QString& s = statement;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype end = readQuoted(s, i, nullptr);
            out += s.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = s.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                throw TranslationError("unterminated date literal in: " + s.toStdString());
            out += isoDate(s.mid(i + 1, close - i - 1), s);
            i = close + 1;
        } else if (c == QLatin1Char('`')) {
            const qsizetype close = s.indexOf(QLatin1Char('`'), i + 1);
            if (close < 0)
                throw TranslationError("unterminated quoted name in: " + s.toStdString());
            out += QLatin1Char('[') + s.mid(i + 1, close - i - 1) + QLatin1Char(']');
            i = close + 1;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = s.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                throw TranslationError("unterminated name in: " + s.toStdString());
            const QString name = s.mid(i, close - i + 1);
            i = close + 1;
            // "[Table] IN 'file' 'Access'": the table of another database file.
            const auto in =
                inClause.match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (in.hasMatch()) {
                QString path;
                const qsizetype afterPath = readQuoted(s, in.capturedEnd() - 1, &path);
                const auto tag = accessTag.match(s, afterPath, QRegularExpression::NormalMatch,
                                                 QRegularExpression::AnchorAtOffsetMatchOption);
                if (!tag.hasMatch())
                    throw TranslationError("IN clause without 'Access' in: " + s.toStdString());
                if (result.externalPath && *result.externalPath != path)
                    throw TranslationError("two different files named in: " + s.toStdString());
                result.externalPath = path;
                out += QLatin1String(externalAlias) + QLatin1Char('.') + name;
                i = tag.capturedEnd();
            } else {
                out += name;
            }
        } else if ((c == QLatin1Char('D') || c == QLatin1Char('d')) &&
                   (i == 0 || !(s[i - 1].isLetterOrNumber() || s[i - 1] == QLatin1Char('_')))) {
            const auto del =
                deleteStar.match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (del.hasMatch()) {
                out += QLatin1String("DELETE FROM");
                i = del.capturedEnd();
            } else {
                out += c;
                ++i;
            }
        } else {
            out += c;
            ++i;
        }
    }

    // An append query into another file with a column list fills the columns of those names: SQLite needs the
    // target list spelled out, since it matches by position.
    if (result.externalPath) {
        static const QRegularExpression append(
            QStringLiteral("^(\\s*INSERT\\s+INTO\\s+%1\\.\\[[^\\]]+\\])\\s+(SELECT\\s+)(.+?)(\\s+FROM\\s.*)$")
                .arg(QLatin1String(externalAlias)),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        const auto m = append.match(out);
        if (m.hasMatch() && m.captured(3).trimmed() != QLatin1String("*"))
            out = m.captured(1) + QLatin1String(" (") + m.captured(3).trimmed() + QLatin1String(") ") + m.captured(2) +
                  m.captured(3) + m.captured(4);
    }
    return result;
}

} // namespace SqlText

#include "Schema.h"

#include <QSet>

namespace SqlText {
namespace {

// The names of the tables and columns of every layout that a statement may write without brackets ("Event",
// "TotalInterest"): one word each.
const QHash<QString, QString>& bareNames() {
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> h;
        for (int layout = 1; layout <= Schema::version; ++layout)
            for (const auto& t : Schema::tables(layout)) {
                if (!t.name.contains(QLatin1Char(' ')))
                    h.insert(t.name.toLower(), t.name);
                for (const auto& c : t.columns)
                    if (!c.name.contains(QLatin1Char(' ')))
                        h.insert(c.name.toLower(), c.name);
            }
        return h;
    }();
    return names;
}

bool wordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QString serverDate(const QString& literal, const QString& statement) {
    // isoDate() gives 'YYYY-MM-DD' with its quotes.
    return QLatin1String("DATE ") + isoDate(literal, statement);
}

// The index after the quoted text or name that starts at `pos` (a doubled quote stays inside).
qsizetype afterQuoted(const QString& sql, qsizetype pos) {
    const QChar q = sql[pos];
    qsizetype j = pos + 1;
    while (j < sql.size()) {
        if (sql[j] == q) {
            if (j + 1 < sql.size() && sql[j + 1] == q) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return sql.size();
}

// SQLite sorts an empty value before every other; the server after, unless told.
QString emptyFirst(const QString& sql) {
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression descending(QStringLiteral("\\b(DESC|NULLS\\s+(FIRST|LAST))\\s*$"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype i = 0;
    while (i < sql.size()) {
        // Outside text literals and quoted names only.
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype j = afterQuoted(sql, i);
            out += sql.mid(i, j - i);
            i = j;
            continue;
        }
        const auto m =
            orderBy.match(sql, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch() || (i > 0 && wordChar(sql[i - 1]))) {
            out += c;
            ++i;
            continue;
        }
        out += m.captured(0);
        i = m.capturedEnd();
        // The terms, each to the next comma at its own depth; the list ends at a closing parenthesis or the end.
        int depth = 0;
        qsizetype start = i;
        auto endTerm = [&](qsizetype at) {
            const QString term = sql.mid(start, at - start);
            qsizetype trail = 0;
            while (trail < term.size() && term[term.size() - 1 - trail].isSpace())
                ++trail;
            if (term.trimmed().isEmpty() || descending.match(term.trimmed()).hasMatch())
                out += term;
            else
                out += term.left(term.size() - trail) + QLatin1String(" NULLS FIRST") + term.right(trail);
            start = at;
        };
        while (i < sql.size()) {
            const QChar d = sql[i];
            if (d == QLatin1Char('\'') || d == QLatin1Char('"')) {
                i = afterQuoted(sql, i);
                continue;
            }
            if (d == QLatin1Char('('))
                ++depth;
            if (d == QLatin1Char(')') && --depth < 0)
                break;
            if (d == QLatin1Char(',') && depth == 0) {
                endTerm(i);
                out += QLatin1Char(',');
                start = ++i;
                continue;
            }
            ++i;
        }
        endTerm(std::min(i, sql.size()));
    }
    return out;
}

} // namespace

QString serverName(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

namespace {

// Whether a number just after what is written so far names a column by its place ("ORDER BY 1"), not a value.
bool columnPosition(const QString& written) {
    static const QRegularExpression place(
        QStringLiteral(
            "\\b(ORDER|GROUP)\\s+BY\\s+((\"[^\"]*\"|[\\w.]+)(\\s+(ASC|DESC|NULLS\\s+(FIRST|LAST)))?\\s*,\\s*)*$"),
        QRegularExpression::CaseInsensitiveOption);
    return place.match(written.right(400)).hasMatch();
}

QString translateForServer(const QString& statement, QVariantList* bound) {
    static const QRegularExpression number(QStringLiteral("\\G-?\\d+(\\.\\d+)?([Ee][+-]?\\d+)?(?![\\w.])"));
    static const QRegularExpression deleteStar(QStringLiteral("\\GDELETE\\s+\\*\\s+FROM\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inClause(QStringLiteral("\\G\\s+IN\\s+'"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString& s = statement;
    QString out;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        // A value of the statement goes as a parameter of it, when the caller binds them.
        const QString before = out.trimmed();
        const bool valueStart = before.isEmpty() || QStringLiteral("(,=<>").contains(before.back()) ||
                                before.endsWith(QLatin1String("THEN"), Qt::CaseInsensitive) ||
                                before.endsWith(QLatin1String("ELSE"), Qt::CaseInsensitive) ||
                                before.endsWith(QLatin1String("AND"), Qt::CaseInsensitive) ||
                                before.endsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) ||
                                before.endsWith(QLatin1String("BETWEEN"), Qt::CaseInsensitive);
        if (c == QLatin1Char('\'')) {
            QString content;
            const qsizetype end = readQuoted(s, i, &content);
            if (bound) {
                *bound << content;
                out += QStringLiteral("$%1").arg(bound->size());
            } else {
                out += s.mid(i, end - i);
            }
            i = end;
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = s.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                throw TranslationError("unterminated date literal in: " + s.toStdString());
            const QString literal = serverDate(s.mid(i + 1, close - i - 1), s);
            if (bound) {
                *bound << QDate::fromString(literal.mid(6, 10), Qt::ISODate);
                out += QStringLiteral("$%1::date").arg(bound->size());
            } else {
                out += literal;
            }
            i = close + 1;
        } else if (bound && (c.isDigit() || c == QLatin1Char('-')) && (i == 0 || !wordChar(s[i - 1])) && valueStart &&
                   !columnPosition(out) &&
                   number.match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption)
                       .hasMatch()) {
            const auto m =
                number.match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            const QString text = m.captured(0);
            bool whole = false;
            const qlonglong n = text.toLongLong(&whole);
            *bound << (whole ? QVariant(n) : QVariant(text.toDouble()));
            out += QStringLiteral("$%1").arg(bound->size());
            i = m.capturedEnd();
        } else if (c == QLatin1Char('`') || c == QLatin1Char('[') || c == QLatin1Char('"')) {
            const QChar closing = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            const qsizetype close = s.indexOf(closing, i + 1);
            if (close < 0)
                throw TranslationError("unterminated name in: " + s.toStdString());
            out += serverName(s.mid(i + 1, close - i - 1));
            i = close + 1;
            if (inClause.match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption)
                    .hasMatch())
                throw TranslationError("a statement that names another database file cannot run on the server: " +
                                       s.toStdString());
        } else if (wordChar(c) && (i == 0 || !wordChar(s[i - 1]))) {
            const auto del =
                deleteStar.match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (del.hasMatch()) {
                out += QLatin1String("DELETE FROM");
                i = del.capturedEnd();
                continue;
            }
            qsizetype end = i;
            while (end < s.size() && wordChar(s[end]))
                ++end;
            const QString word = s.mid(i, end - i);
            const auto known = bareNames().constFind(word.toLower());
            // A name after a dot is a column of an alias ("d.Event"); a word before "(" is a function.
            const bool call = end < s.size() && s[end] == QLatin1Char('(');
            out += known != bareNames().constEnd() && !call && !word.front().isDigit() ? serverName(*known) : word;
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return emptyFirst(out);
}

} // namespace

QString translateForServer(const QString& statement) {
    return translateForServer(statement, nullptr);
}

ServerStatement translateForServerBound(const QString& statement) {
    ServerStatement result;
    result.sql = translateForServer(statement, &result.parameters);
    return result;
}

} // namespace SqlText
