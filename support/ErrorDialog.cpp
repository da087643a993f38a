#include "ErrorDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
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
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* intro = new QLabel(whatToDo, this);
    intro->setWordWrap(true);
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
    Text1->hide();

    cmdDetails = new QPushButton(QStringLiteral("&Details"), this);
    cmdDetails->setObjectName(QStringLiteral("cmdDetails"));
    cmdDetails->setCheckable(true);
    auto* copy = new QPushButton(QStringLiteral("C&opy"), this);
    copy->setObjectName(QStringLiteral("cmdCopy"));
    copy->setToolTip(QStringLiteral("Copies the whole report, details included, to the clipboard."));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    connect(cmdDetails, &QPushButton::toggled, this, [this](bool on) {
        Text1->setVisible(on);
        adjustSize();
    });
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text()); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* words = new QVBoxLayout;
    words->addWidget(lblSummary);
    words->addWidget(intro);
    words->addWidget(address);
    top->addLayout(words, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDetails);
    buttons->addWidget(copy);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    resize(560, 220);

    // A second later the report comes to the front again, over whatever the failure left open.
    Timer1.setSingleShot(true);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] {
        raise();
        activateWindow();
    });
}

void ErrorDialog::showReport(const QString& summary, const QString& text) {
    lblSummary->setText(summary);
    Text1->setPlainText(text);
    show();
    raise();
    activateWindow();
    cmdDetails->setFocus();
    Timer1.start();
}

QString ErrorDialog::summary() const {
    return lblSummary->text();
}

QString ErrorDialog::text() const {
    return Text1->toPlainText();
}

bool ErrorDialog::detailsShown() const {
    return !Text1->isHidden();
}
