#include "Transcript.h"

#include "StoreError.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace Transcript {
namespace {

constexpr qsizetype maximumLine = 4000;

[[noreturn]] void refuse(const QString& source, const QString& why) {
    throw StoreError(QStringLiteral("The file %1 %2").arg(source, why));
}

[[noreturn]] void refuseLine(const QString& source, int line, const QString& why) {
    throw StoreError(QStringLiteral("The file %1, line %2: %3").arg(source).arg(line).arg(why));
}

QString decodeEntities(const QString& text) {
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9A-Fa-f]{1,6}|#[0-9]{1,7}|[A-Za-z]{2,8});"));
    QString out;
    out.reserve(text.size());
    qsizetype at = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(at, m.capturedStart() - at);
        const QString name = m.captured(1);
        char32_t c = 0;
        if (name.startsWith(QLatin1String("#x")))
            c = char32_t(name.mid(2).toUInt(nullptr, 16));
        else if (name.startsWith(QLatin1Char('#')))
            c = char32_t(name.mid(1).toUInt());
        else if (name == QLatin1String("amp"))
            c = '&';
        else if (name == QLatin1String("lt"))
            c = '<';
        else if (name == QLatin1String("gt"))
            c = '>';
        else if (name == QLatin1String("quot"))
            c = '"';
        else if (name == QLatin1String("apos"))
            c = '\'';
        else if (name == QLatin1String("nbsp"))
            c = ' ';
        else if (name == QLatin1String("minus"))
            c = '-';
        if (c > 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF))
            out += QString::fromUcs4(&c, 1);
        else
            out += m.captured(0);
        at = m.capturedEnd();
    }
    out += QStringView(text).mid(at);
    return out;
}

// The text of an HTML page, in one pass: a row, a paragraph or a line break ends a line, a cell (opened or closed)
// is set off by blanks, the line breaks of a <pre> block are kept and others are blanks; scripts, styles and the head
// are left out. A tag without its ">" ends the page.
QString htmlText(const QString& html) {
    static const QStringList lineTags = {QStringLiteral("br"),  QStringLiteral("tr"),    QStringLiteral("p"),
                                         QStringLiteral("div"), QStringLiteral("li"),    QStringLiteral("table"),
                                         QStringLiteral("h1"),  QStringLiteral("h2"),    QStringLiteral("h3"),
                                         QStringLiteral("h4"),  QStringLiteral("h5"),    QStringLiteral("h6"),
                                         QStringLiteral("pre"), QStringLiteral("tbody"), QStringLiteral("thead")};
    static const QStringList hiddenTags = {QStringLiteral("script"), QStringLiteral("style"), QStringLiteral("head")};
    QString out;
    out.reserve(html.size());
    bool inPre = false;
    qsizetype at = 0;
    const qsizetype n = html.size();
    while (at < n) {
        const QChar c = html[at];
        if (c != QLatin1Char('<')) {
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
                if (inPre && !(c == QLatin1Char('\n') && at > 0 && html[at - 1] == QLatin1Char('\r')))
                    out += QLatin1Char('\n');
                else if (!inPre)
                    out += QLatin1Char(' ');
            } else {
                out += c;
            }
            ++at;
            continue;
        }
        const qsizetype end = html.indexOf(QLatin1Char('>'), at);
        if (end < 0)
            break;
        qsizetype k = at + 1;
        while (k < end && html[k].isSpace())
            ++k;
        const bool closing = k < end && html[k] == QLatin1Char('/');
        if (closing)
            ++k;
        qsizetype nameEnd = k;
        while (nameEnd < end && html[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const QString name = html.mid(k, nameEnd - k).toLower();
        at = end + 1;
        if (!closing && hiddenTags.contains(name)) {
            const qsizetype close = html.indexOf(QStringLiteral("</") + name, at, Qt::CaseInsensitive);
            if (close < 0)
                break;
            const qsizetype closeEnd = html.indexOf(QLatin1Char('>'), close);
            if (closeEnd < 0)
                break;
            at = closeEnd + 1;
            continue;
        }
        if (name == QLatin1String("pre"))
            inPre = !closing;
        if (name == QLatin1String("td") || name == QLatin1String("th"))
            out += QStringLiteral("   ");
        else if (lineTags.contains(name))
            out += QLatin1Char('\n');
    }
    return decodeEntities(out);
}

bool looksLikeHtml(const QString& text) {
    static const QRegularExpression tag(QStringLiteral("<\\s*(html|body|table|tr|td|div|p|br)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return tag.match(QStringView(text).left(200000)).hasMatch();
}

// A character a viewer or a PDF adds that is no text: private-use glyphs (icons, buttons), symbols, box drawing,
// the replacement character and control characters. A no-break space is a blank.
QString withoutGlyphs(const QString& line) {
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        const ushort u = c.unicode();
        if (u == 0x00A0 || u == '\t' || (u >= 0x2000 && u <= 0x200A)) {
            out += QLatin1Char(' ');
            continue;
        }
        if (u == 0x2212) { // the minus sign a page may print
            out += QLatin1Char('-');
            continue;
        }
        if (u < 0x20 || u == 0x7F || (u >= 0xE000 && u <= 0xF8FF) || u == 0xFFFD || (u >= 0x2500 && u <= 0x27BF) ||
            c.isSurrogate() || c.category() == QChar::Symbol_Other)
            continue;
        out += c;
    }
    return out;
}

// An amount as a transcript prints one: with a dollar sign, or with cents.
bool amountLike(const QString& token) {
    static const QRegularExpression cents(QStringLiteral("^-?[\\d,]+\\.\\d\\d$"));
    return token.contains(QLatin1Char('$')) || cents.match(token).hasMatch();
}

const QRegularExpression& dateShape() {
    static const QRegularExpression shape(QStringLiteral("^\\d{1,2}[-/]\\d{1,2}[-/]\\d{2,4}$"));
    return shape;
}

int monthOf(const QString& name) {
    static const QStringList months = {QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
                                       QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"),
                                       QStringLiteral("jul"), QStringLiteral("aug"), QStringLiteral("sep"),
                                       QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
    const QString n = name.toLower();
    if (n.size() < 3)
        return 0;
    const int i = int(months.indexOf(n.left(3)));
    return i < 0 ? 0 : i + 1;
}

// A header's labelled values, found anywhere on a line ("FORM NUMBER: 1040   TAX PERIOD: Dec. 31, 2020").
struct Label {
    QRegularExpression pattern;
    enum Field { Form, Period, Tin, Received, Balance, Interest, Penalty } field;
};

const std::vector<Label>& labels() {
    static const QString date = QStringLiteral("([A-Za-z]+\\.?\\s+\\d{1,2},?\\s+\\d{4}|\\d{1,2}-\\d{1,2}-\\d{4})");
    static const QString amount = QStringLiteral("(\\S+)");
    const auto ci = QRegularExpression::CaseInsensitiveOption;
    static const std::vector<Label> all = {
        {QRegularExpression(QStringLiteral("FORM NUMBER:\\s*([A-Z0-9-]+)"), ci), Label::Form},
        {QRegularExpression(QStringLiteral("TAX PERIOD:\\s*") + date, ci), Label::Period},
        {QRegularExpression(QStringLiteral("(?<!SPOUSE )TAXPAYER IDENTIFICATION NUMBER:\\s*(\\S+)"), ci), Label::Tin},
        {QRegularExpression(QStringLiteral("RETURN RECEIVED DATE \\(WHICHEVER IS LATER\\):\\s*") + date, ci),
         Label::Received},
        {QRegularExpression(QStringLiteral("ACCOUNT BALANCE:\\s*") + amount, ci), Label::Balance},
        {QRegularExpression(QStringLiteral("ACCRUED INTEREST:\\s*") + amount + QStringLiteral("(?:\\s+AS OF:\\s*") +
                                date + QStringLiteral(")?"),
                            ci),
         Label::Interest},
        {QRegularExpression(QStringLiteral("ACCRUED PENALTY:\\s*") + amount + QStringLiteral("(?:\\s+AS OF:\\s*") +
                                date + QStringLiteral(")?"),
                            ci),
         Label::Penalty},
    };
    return all;
}

bool isPageHeader(const QString& t) {
    static const QRegularExpression page(
        QStringLiteral("(This Product Contains Sensitive Taxpayer Data|^Page \\d+ of \\d+$|Request Date:|Response "
                       "Date:|Tracking Number:|^Account Transcript$|ANY MINUS SIGN SHOWN BELOW)"),
        QRegularExpression::CaseInsensitiveOption);
    return page.match(t).hasMatch();
}

bool isColumnHeader(const QString& t) {
    return t.startsWith(QLatin1String("CODE"), Qt::CaseInsensitive) &&
           t.contains(QLatin1String("EXPLANATION"), Qt::CaseInsensitive);
}

// "Code: 150", "Explanation: ...", "Cycle: ...", "Date: ...", "Amount: ..." as the web viewer's text keeps them.
const QRegularExpression& labelledField() {
    static const QRegularExpression field(
        QStringLiteral("^(Code|Explanation(?: of transaction)?|Cycle|Date|Amount)\\s*:\\s*(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    return field;
}

// A line without the marks a viewer sets before a row (a bullet, a dash, a glyph the font has).
QString withoutMarks(const QString& t) {
    qsizetype k = 0;
    while (k < t.size() && !t[k].isLetterOrNumber())
        ++k;
    return t.mid(k);
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text.left(60) + QLatin1Char('"');
}

QString badAmount(const QString& text) {
    return QStringLiteral("the amount %1 does not read as an amount (such as $1,234.56, or -$1,234.56 for a credit).")
        .arg(quoted(text));
}

QString badDate(const QString& text) {
    return QStringLiteral("the date %1 is not a date MM-DD-YYYY.").arg(quoted(text));
}

class Reader {
public:
    Reader(const QString& s) : source(s) {}

    Account account;
    const QString& source;
    bool inTable = false;
    int transactions = 0;
    // The labelled fields of the transaction being read, and the line its code is on.
    struct Pending {
        int line = 0;
        size_t index = 0; // of its line in the account's lines
        QString code, explanation, cycle, date, amount;
        int dateLine = 0, amountLine = 0;
    };
    std::optional<Pending> pending;

    void header(const QString& raw, int number) {
        const QString t = raw.simplified();
        for (const auto& l : labels()) {
            const auto m = l.pattern.match(t);
            if (!m.hasMatch())
                continue;
            const QString v = m.captured(1);
            switch (l.field) {
            case Label::Form:
                same(account.formNumber, v.toUpper(), number, QStringLiteral("form number"));
                break;
            case Label::Period: {
                const QDate d = headerDate(v);
                if (!d.isValid())
                    refuseLine(source, number, QStringLiteral("the tax period %1 is not a date.").arg(quoted(v)));
                if (account.taxPeriod.isValid() && account.taxPeriod != d)
                    refuseLine(source, number,
                               QStringLiteral("a second tax period (%1) differs from the first: a transcript is "
                                              "of one tax period.")
                                   .arg(v));
                account.taxPeriod = d;
                if (!account.taxPeriodLine)
                    account.taxPeriodLine = number;
                break;
            }
            case Label::Tin:
                if (v.size() > 20)
                    refuseLine(source, number,
                               QStringLiteral("%1 is not a taxpayer identification number.").arg(quoted(v)));
                same(account.tin, v, number, QStringLiteral("taxpayer identification number"));
                break;
            case Label::Received:
                account.receivedOrDue = dateValue(v, number);
                break;
            case Label::Balance:
                account.accountBalance = amountValue(v, number);
                break;
            case Label::Interest:
                account.accruedInterest = amountValue(v, number);
                if (!m.captured(2).isEmpty())
                    account.accruedAsOf = dateValue(m.captured(2), number);
                break;
            case Label::Penalty:
                account.accruedPenalty = amountValue(v, number);
                if (!m.captured(2).isEmpty() && !account.accruedAsOf.isValid())
                    account.accruedAsOf = dateValue(m.captured(2), number);
                break;
            }
        }
    }

    void same(QString& into, const QString& value, int number, const QString& what) {
        if (!into.isEmpty() && into != value)
            refuseLine(source, number,
                       QStringLiteral("a second %1 (%2) differs from the first (%3): a transcript is of one account.")
                           .arg(what, value, into));
        into = value;
    }

    QDate dateValue(const QString& v, int number) {
        const QDate d = headerDate(v);
        if (!d.isValid())
            refuseLine(source, number, QStringLiteral("%1 is not a date.").arg(quoted(v)));
        return d;
    }

    Money amountValue(const QString& v, int number) {
        const auto a = amountOf(v);
        if (!a)
            refuseLine(source, number, badAmount(v));
        return *a;
    }

    // A transaction from the aligned columns: the code first, the date and the amount last, the cycle before the
    // date when there is one.
    std::optional<Transaction> columns(const QString& t, int number) {
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        QStringList tokens = t.split(blanks, Qt::SkipEmptyParts);
        // "-$ 1,234.00" or "$ 0.00": the sign apart from the figure
        if (tokens.size() >= 2 &&
            (tokens[tokens.size() - 2] == QLatin1String("$") || tokens[tokens.size() - 2] == QLatin1String("-$"))) {
            tokens[tokens.size() - 2] += tokens.last();
            tokens.removeLast();
        }
        if (tokens.size() < 3)
            refuseLine(source, number,
                       QStringLiteral("a transaction needs its code, a date MM-DD-YYYY and an amount; %1 has not.")
                           .arg(quoted(t)));
        Transaction x;
        x.code = tokens[0];
        const QString amountText = tokens.last();
        const QString dateText = tokens[tokens.size() - 2];
        if (!dateShape().match(dateText).hasMatch())
            refuseLine(source, number,
                       QStringLiteral("a transaction needs a date MM-DD-YYYY before its amount; %1 is not one.")
                           .arg(quoted(dateText)));
        x.date = transactionDate(dateText);
        if (!x.date.isValid())
            refuseLine(source, number, badDate(dateText));
        const auto a = amountOf(amountText);
        if (!a)
            refuseLine(source, number, badAmount(amountText));
        x.amount = *a;
        qsizetype last = tokens.size() - 2; // the explanation ends before the date, or the cycle
        static const QRegularExpression cycle(QStringLiteral("^\\d{8}$"));
        if (last > 1 && cycle.match(tokens[last - 1]).hasMatch())
            x.cycle = tokens[--last];
        x.explanation = tokens.mid(1, last - 1).join(QLatin1Char(' '));
        return x;
    }

    // A line's rows: a row ends with its date and amount, and a three-digit code after them begins the next; what
    // stands between (a document locator, a note) is left out.
    static QStringList splitRows(const QString& t) {
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        static const QRegularExpression code(QStringLiteral("^\\d{3}$"));
        const QStringList tokens = t.split(blanks, Qt::SkipEmptyParts);
        QStringList rows, row;
        bool ended = false;
        for (const QString& token : tokens) {
            if (ended && code.match(token).hasMatch()) {
                rows << row.join(QLatin1Char(' '));
                row.clear();
                ended = false;
            }
            if (ended)
                continue;
            row << token;
            ended = row.size() >= 3 && amountLike(token) && dateShape().match(row[row.size() - 2]).hasMatch();
        }
        rows << row.join(QLatin1Char(' '));
        return rows;
    }

    // The last two words are a date and an amount, as a transaction's are.
    static bool endsLikeTransaction(const QString& t) {
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        const QStringList tokens = t.split(blanks, Qt::SkipEmptyParts);
        return tokens.size() >= 2 && amountLike(tokens.last()) &&
               dateShape().match(tokens[tokens.size() - 2]).hasMatch();
    }

    void flush() {
        if (!pending)
            return;
        const Pending p = *pending;
        pending.reset();
        if (p.date.isEmpty() || p.amount.isEmpty())
            refuseLine(source, p.line,
                       QStringLiteral("the transaction of code %1 has no %2.")
                           .arg(p.code, p.date.isEmpty() ? QStringLiteral("date") : QStringLiteral("amount")));
        Transaction x;
        x.code = p.code;
        x.explanation = p.explanation;
        x.cycle = p.cycle;
        x.date = transactionDate(p.date);
        if (!x.date.isValid())
            refuseLine(source, p.dateLine, badDate(p.date));
        const auto a = amountOf(p.amount);
        if (!a)
            refuseLine(source, p.amountLine, badAmount(p.amount));
        x.amount = *a;
        Line& l = account.lines[p.index];
        l.kind = Line::Kind::Transaction;
        l.transaction = x;
        ++transactions;
    }

    void labelled(const QRegularExpressionMatch& m, int number, Line& line) {
        const QString label = m.captured(1).toLower();
        const QString value = m.captured(2).trimmed();
        if (label == QLatin1String("code")) {
            flush();
            static const QRegularExpression code(QStringLiteral("^\\d{3}$"));
            if (!code.match(value).hasMatch())
                refuseLine(source, number,
                           QStringLiteral("the transaction code %1 is not three digits.").arg(quoted(value)));
            pending = Pending{number, account.lines.size() - 1, value, {}, {}, {}, {}, 0, 0};
            line.kind = Line::Kind::Transaction;
            return;
        }
        line.kind = Line::Kind::Continuation;
        if (!pending)
            return;
        if (label.startsWith(QLatin1String("explanation")))
            pending->explanation = value;
        else if (label == QLatin1String("cycle"))
            pending->cycle = value;
        else if (label == QLatin1String("date"))
            pending->date = value, pending->dateLine = number;
        else
            pending->amount = value, pending->amountLine = number;
    }

    void line(const QString& raw, int number) {
        Line l;
        l.number = number;
        l.text = raw;
        const QString t = raw.trimmed();
        static const QRegularExpression transactionStart(QStringLiteral("^\\d{3}(\\s|$)"));
        if (t.isEmpty()) {
            l.kind = Line::Kind::Blank;
        } else if (const auto m = labelledField().match(t); m.hasMatch() && (inTable || pending)) {
            account.lines.push_back(l);
            labelled(m, number, account.lines.back());
            return;
        } else if (isPageHeader(t)) {
            l.kind = inTable ? Line::Kind::PageHeader : Line::Kind::Header;
            header(t, number);
        } else if (t.compare(QLatin1String("TRANSACTIONS"), Qt::CaseInsensitive) == 0) {
            flush();
            inTable = true;
            l.kind = Line::Kind::Header;
        } else if (inTable && isColumnHeader(t)) {
            l.kind = Line::Kind::Header;
        } else if (inTable && transactionStart.match(withoutMarks(t)).hasMatch()) {
            flush();
            // The text of a PDF may run two rows into one line: each is a transaction of its own.
            const QStringList rows = splitRows(withoutMarks(t));
            for (const QString& row : rows) {
                Line one = l;
                if (rows.size() > 1)
                    one.text = row;
                one.kind = Line::Kind::Transaction;
                one.transaction = columns(row, number);
                ++transactions;
                account.lines.push_back(std::move(one));
            }
            return;
        } else if (inTable && endsLikeTransaction(t)) {
            refuseLine(source, number,
                       QStringLiteral("%1 has a date and an amount but does not begin with a three-digit transaction "
                                      "code.")
                           .arg(quoted(t)));
        } else if (t.contains(QLatin1Char(':'))) {
            // A header line, also where a page header repeats it in the middle of the table.
            flush();
            l.kind = inTable ? Line::Kind::PageHeader : Line::Kind::Header;
            header(t, number);
        } else {
            l.kind = inTable ? Line::Kind::Continuation : Line::Kind::Other;
        }
        account.lines.push_back(std::move(l));
    }
};

} // namespace

QDate transactionDate(const QString& text) {
    static const QRegularExpression shape(QStringLiteral("^(\\d{1,2})[-/](\\d{1,2})[-/](\\d{4})$"));
    const auto m = shape.match(text.trimmed());
    const int year = m.captured(3).toInt();
    if (!m.hasMatch() || year < 1900 || year > 2199)
        return QDate();
    return QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
}

QDate headerDate(const QString& text) {
    static const QRegularExpression named(QStringLiteral("^([A-Za-z]+)\\.?\\s+(\\d{1,2}),?\\s+(\\d{4})$"));
    const QString t = text.trimmed();
    const auto m = named.match(t);
    if (!m.hasMatch())
        return transactionDate(t);
    const int month = monthOf(m.captured(1));
    const int year = m.captured(3).toInt();
    return month && year >= 1900 && year <= 2199 ? QDate(year, month, m.captured(2).toInt()) : QDate();
}

std::optional<Money> amountOf(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^(-)?\\$?(-)?(\\d{1,3}(?:,\\d{3})+|\\d{1,15})(?:\\.(\\d{1,2}))?$"));
    const auto m = shape.match(text.trimmed());
    if (!m.hasMatch() || (!m.captured(1).isEmpty() && !m.captured(2).isEmpty()))
        return std::nullopt;
    QString whole = m.captured(3);
    whole.remove(QLatin1Char(','));
    const QString cents = m.captured(4).leftJustified(2, QLatin1Char('0'));
    bool ok = false;
    const qint64 dollars = whole.toLongLong(&ok);
    if (!ok || dollars > Money::largestCents / 100)
        return std::nullopt;
    const qint64 units = dollars * 100 + cents.toInt();
    if (units > Money::largestCents)
        return std::nullopt;
    const bool credit = !m.captured(1).isEmpty() || !m.captured(2).isEmpty();
    return Money::fromCents(credit ? -units : units);
}

QStringList textLines(const QByteArray& bytes, const QString& source) {
    if (bytes.trimmed().isEmpty())
        refuse(source, QStringLiteral("is empty: save the transcript's text (or its page as HTML) and import that."));
    if (bytes.startsWith("%PDF"))
        refuse(source, QStringLiteral("is a PDF whose text could not be read: open it, copy its text into a text file "
                                      "and import that."));
    // Text has no NUL bytes and few control characters; a binary file has.
    qsizetype control = 0;
    const qsizetype probe = std::min<qsizetype>(bytes.size(), 1 << 16);
    for (qsizetype i = 0; i < probe; ++i) {
        const uchar c = uchar(bytes[i]);
        if (c == 0)
            refuse(source, QStringLiteral("is not text (it holds binary data): save the transcript's text, or its page "
                                          "as HTML, and import that."));
        if (c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f')
            ++control;
    }
    if (control * 20 > probe)
        refuse(source, QStringLiteral("is not text (it holds binary data): save the transcript's text, or its page as "
                                      "HTML, and import that."));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (looksLikeHtml(text))
        text = htmlText(text);
    static const QRegularExpression lineEnds(QStringLiteral("\\r\\n|\\r|\\n|\\f"));
    QStringList lines = text.split(lineEnds);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // No line of a transcript is anywhere near this long: a file that has one is not a transcript.
        if (lines[i].size() > maximumLine)
            refuse(source, QStringLiteral("is not an IRS account transcript: its line %1 is %2 characters long.")
                               .arg(i + 1)
                               .arg(lines[i].size()));
        lines[i] = withoutGlyphs(lines[i]);
    }
    return lines;
}

Account read(const QByteArray& bytes, const QString& source) {
    const QStringList lines = textLines(bytes, source);
    Reader r(source);
    r.account.lines.reserve(size_t(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        r.line(lines[i], i + 1);
    r.flush();
    const QString notOne = QStringLiteral("is not an IRS account transcript: ");
    if (r.account.formNumber.isEmpty())
        refuse(source, notOne + QStringLiteral("it has no line \"FORM NUMBER: ...\"."));
    if (!r.account.taxPeriod.isValid())
        refuse(source, notOne + QStringLiteral("it has no line \"TAX PERIOD: ...\"."));
    if (!r.inTable && r.transactions == 0)
        refuse(source, notOne + QStringLiteral("it has no TRANSACTIONS table."));
    return r.account;
}

} // namespace Transcript
