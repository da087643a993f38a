// Renders the help pages, in the order given, into one PDF document: the manual is the help text on paper.
//
//   talvoro-mkdoc --out FILE.pdf --title TITLE PAGE.html... [--append REPORT.pdf...]
//
// Pages of PDF files given after --append follow the text, each on a page of its own (the sample reports).

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

namespace {

QString readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// The body of a page, without its own head.
QString bodyOf(const QString& html) {
    const qsizetype start = html.indexOf(QLatin1String("<body>"));
    const qsizetype end = html.lastIndexOf(QLatin1String("</body>"));
    if (start < 0 || end < 0)
        return html;
    return html.mid(start + 6, end - start - 6);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QString out, title;
    QStringList pages, appended;
    bool appending = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == QLatin1String("--title") && i + 1 < args.size())
            title = args[++i];
        else if (args[i] == QLatin1String("--append"))
            appending = true;
        else
            (appending ? appended : pages) << args[i];
    }
    if (out.isEmpty() || pages.isEmpty()) {
        std::fputs("usage: talvoro-mkdoc --out FILE.pdf --title TITLE PAGE.html...\n", stderr);
        return 2;
    }

    QString html = QStringLiteral("<html><body>");
    bool first = true;
    for (const QString& page : pages) {
        const QString text = readText(page);
        if (text.isEmpty()) {
            QTextStream(stderr) << "talvoro-mkdoc: cannot read " << page << '\n';
            return 1;
        }
        if (!first)
            html += QStringLiteral("<div style=\"page-break-before: always\"></div>");
        html += bodyOf(text);
        first = false;
    }
    html += QStringLiteral("</body></html>");

    QTextDocument document;
    document.setDefaultStyleSheet(
        readText(QFileInfo(pages.first()).absoluteDir().filePath(QStringLiteral("style.css"))));
    document.setHtml(html);
    document.setMetaInformation(QTextDocument::DocumentTitle, title);

    const QString partial = out + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Norvane Talvoro"));
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
        // The text, page by page, then each appended document's pages, each on a page of its own.
        QPainter painter(&writer);
        const QSizeF body = writer.pageLayout().paintRectPixels(writer.resolution()).size();
        document.documentLayout()->setPaintDevice(&writer);
        document.setPageSize(body);
        const double footer = body.height() * 0.03;
        QFont small = painter.font();
        small.setPointSizeF(8);
        int pageNumber = 0;
        for (int page = 0; page < document.pageCount(); ++page) {
            if (page > 0)
                writer.newPage();
            painter.save();
            painter.translate(0, -page * body.height());
            document.drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
            painter.restore();
            painter.setFont(small);
            painter.drawText(QRectF(0, body.height() - footer, body.width(), footer), Qt::AlignCenter,
                             QString::number(++pageNumber));
        }
        for (const QString& extra : appended) {
            QPdfDocument pdf;
            if (pdf.load(extra) != QPdfDocument::Error::None) {
                QTextStream(stderr) << "talvoro-mkdoc: cannot read " << extra << '\n';
                return 1;
            }
            for (int page = 0; page < pdf.pageCount(); ++page) {
                writer.newPage();
                const QSizeF size = pdf.pagePointSize(page).scaled(body - QSizeF(0, footer), Qt::KeepAspectRatio);
                painter.drawImage(QRectF(QPointF(0, 0), size), pdf.render(page, (size * 1.5).toSize()));
                painter.drawText(QRectF(0, body.height() - footer, body.width(), footer), Qt::AlignCenter,
                                 QString::number(++pageNumber));
            }
        }
        painter.end();
    }
    QFile::remove(out);
    if (!QFile::rename(partial, out)) {
        QTextStream(stderr) << "talvoro-mkdoc: cannot write " << out << '\n';
        return 1;
    }
    return 0;
}
