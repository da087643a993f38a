#include "ErrorDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

ErrorDialog::ErrorDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ErrorDialog"));
    setWindowTitle(QStringLiteral("Error Report"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The report never keeps the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    auto* intro = new QLabel(QStringLiteral("To report this issue, copy the message below and send it to"), this);
    auto* address = new QLabel(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(supportAddress), this);
    address->setObjectName(QStringLiteral("lblAddress"));
    address->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(address, &QLabel::linkActivated, this, [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    // Long descriptions (a statement the database refused) wrap rather than run off the window.
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    auto* words = new QVBoxLayout;
    words->addWidget(intro);
    words->addWidget(address);
    top->addLayout(words, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Text1, 1);
    // Wide enough for the report's dash line.
    resize(QFontMetrics(Text1->font()).horizontalAdvance(QString(134, QLatin1Char('-'))) + 80, 440);

    // A second later the report comes to the front again, over whatever the failure left open.
    Timer1.setSingleShot(true);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] {
        raise();
        activateWindow();
    });
}

void ErrorDialog::showReport(const QString& text) {
    Text1->setPlainText(text);
    show();
    raise();
    activateWindow();
    Text1->setFocus();
    Timer1.start();
}

QString ErrorDialog::text() const {
    return Text1->toPlainText();
}
