// Renders the help pages, in the order given, into one PDF document: the manual is the help text on paper.
//
//   talvoro-mkdoc --out FILE.pdf --title TITLE PAGE.html...

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
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
    QStringList pages;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == QLatin1String("--title") && i + 1 < args.size())
            title = args[++i];
        else
            pages << args[i];
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
        document.print(&writer);
    }
    QFile::remove(out);
    if (!QFile::rename(partial, out)) {
        QTextStream(stderr) << "talvoro-mkdoc: cannot write " << out << '\n';
        return 1;
    }
    return 0;
}
