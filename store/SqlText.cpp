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
