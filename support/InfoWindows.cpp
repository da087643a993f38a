#include "InfoWindows.h"

#include "FileDialogs.h"

#include "Documents.h"
#include "ErrorReportText.h"
#include "MessageBoxes.h"
#include "SectionTrail.h"
#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QLabel* siteLink(QWidget* parent) {
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(Documents::makerSite), parent);
    link->setObjectName(QStringLiteral("lblURL"));
    link->setToolTip(QStringLiteral("Visit Norvane on the Internet."));
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    QObject::connect(link, &QLabel::linkActivated, parent, [](const QString& url) { Documents::shellDocument(url); });
    return link;
}

QLabel* heading(const QString& text, int points, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setPointSize(points);
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + programTitle);
    setModal(true);
    auto* title = heading(programTitle, 16, this);
    title->setObjectName(QStringLiteral("lblTitle"));
    auto* version = new QLabel(ProgramVersion::current().text(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* what = new QLabel(QStringLiteral("Interest and penalties on US federal tax liabilities."), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* info = new QPushButton(QStringLiteral("&System Info..."), this);
    info->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(info, &QPushButton::clicked, this, [this] {
        SectionTrail::enter(QStringLiteral("frmAbout.cmdSysInfo_Click"));
        // The desktop's own system information tool, where one is installed.
        for (const char* tool : {"gnome-system-monitor", "hardinfo", "kinfocenter"}) {
            const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
            if (!path.isEmpty() && Documents::shellDocument(path))
                return;
        }
        MessageBoxes::show(this, noSystemInfo);
    });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(info);
    buttons->addStretch();
    auto* words = new QVBoxLayout;
    words->addWidget(title);
    words->addWidget(version);
    words->addWidget(what);
    words->addWidget(siteLink(this));
    words->addStretch();
    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(
        QIcon::fromTheme(QStringLiteral("accessories-calculator"), style()->standardIcon(QStyle::SP_ComputerIcon))
            .pixmap(48, 48));
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(words, 1);
    layout->addLayout(buttons);
}

SplashWindow::SplashWindow(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* title = heading(programTitle, 22, frame);
    auto* version = new QLabel(ProgramVersion::current().text(), frame);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* platforms = new QLabel(QStringLiteral("Linux desktops with Qt 6"), frame);
    platforms->setObjectName(QStringLiteral("lblPlatform"));
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(title);
    inner->addWidget(version);
    inner->addWidget(platforms);
    inner->addWidget(siteLink(frame));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    resize(460, 220);
    closer.setSingleShot(true);
    closer.setInterval(showMs);
    connect(&closer, &QTimer::timeout, this, &QDialog::accept);
    closer.start();
}

void SplashWindow::keyPressEvent(QKeyEvent*) {
    accept();
}
void SplashWindow::mousePressEvent(QMouseEvent*) {
    accept();
}

StartDocumentPrompt::StartDocumentPrompt(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmStartAdobeAcRdr"));
    setWindowTitle(QStringLiteral("Open The Publication In Talvoro's Viewer"));
    setModal(true);
    auto* text = new QLabel(viewerText, this);
    text->setWordWrap(true);
    auto* start = new QPushButton(QStringLiteral("&Start"), this);
    start->setObjectName(QStringLiteral("cmdStart"));
    start->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(start, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

InstructionsWindow::InstructionsWindow(const QString& file, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Instructions"));
    document = new QPdfDocument(this);
    if (QFileInfo(file).isFile())
        document->load(file);
    auto* view = new QPdfView(this);
    view->setObjectName(QStringLiteral("WebBrowser1"));
    view->setDocument(document);
    view->setPageMode(QPdfView::PageMode::MultiPage);
    view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    auto* print = new QPushButton(QStringLiteral("Print Form"), this);
    print->setObjectName(QStringLiteral("cmdPrint"));
    connect(print, &QPushButton::clicked, this, [this] {
        SectionTrail::enter(QStringLiteral("frmBrowser.cmdPrint_Click"));
        if (document->pageCount() == 0)
            return;
        QPrinter printer;
        QPrintDialog ask(&printer, this);
        if (ask.exec() != QDialog::Accepted)
            return;
        QPainter painter(&printer);
        for (int page = 0; page < document->pageCount(); ++page) {
            if (page > 0)
                printer.newPage();
            const QRect area = painter.viewport();
            const QSizeF size = document->pagePointSize(page).scaled(area.size(), Qt::KeepAspectRatio);
            painter.drawImage(QRect(area.topLeft(), size.toSize()), document->render(page, size.toSize() * 2));
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addWidget(print, 0, Qt::AlignHCenter);
    resize(900, 700);
}

int InstructionsWindow::pageCount() const {
    return document->pageCount();
}

HelpWindow::HelpWindow(const QString& indexPage, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(programTitle + QStringLiteral(" Help"));
    auto* browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl::fromLocalFile(indexPage));
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* home = new QPushButton(QStringLiteral("&Contents"), this);
    connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(home, &QPushButton::clicked, browser, &QTextBrowser::home);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(home);
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser, 1);
    resize(820, 640);
}

SetDriveDialog::SetDriveDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSetDrive"));
    setWindowTitle(QStringLiteral("Set Drive and Directory"));
    setModal(true);
    auto* label = new QLabel(QStringLiteral("Drive and directory where data files are &located"), this);
    auto* path = new QLineEdit(Settings::newpath(), this);
    path->setObjectName(QStringLiteral("Text1"));
    path->setToolTip(QStringLiteral("Enter only the drive and directory path; the file name is written into the "
                                    "program itself and should not be included."));
    label->setBuddy(path);
    auto* browse = new QPushButton(QStringLiteral("&Browse…"), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    auto* save = new QPushButton(QStringLiteral("&Save Change"), this);
    save->setObjectName(QStringLiteral("Command1"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    // The running program keeps the files it opened at start; the window says so once the change is saved.
    auto* saved = new QLabel(nextStart, this);
    saved->setObjectName(QStringLiteral("lblNextStart"));
    saved->setWordWrap(true);
    saved->hide();
    connect(browse, &QPushButton::clicked, this, [this, path] {
        const QString folder = FileDialogs::existingFolder(this, windowTitle(), path->text());
        if (!folder.isEmpty())
            path->setText(Settings::withSeparator(folder));
        path->setFocus();
    });
    connect(save, &QPushButton::clicked, this, [this, path, saved] {
        SectionTrail::enter(QStringLiteral("frmSetDrive.Command1_Click"));
        // A folder that does not exist or cannot be written is refused, and nothing is stored.
        if (const QString why = refusal(path->text()); !why.isEmpty()) {
            MessageBoxes::show(this, why);
            path->setFocus();
            return;
        }
        const QString warning = saveChange(path->text());
        path->setText(Settings::newpath());
        saved->show();
        if (!warning.isEmpty())
            MessageBoxes::show(this, warning);
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(path, 1);
    row->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(saved);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    resize(520, sizeHint().height());
}

QString SetDriveDialog::refusal(const QString& typed) {
    const QString folder = typed.trimmed();
    if (folder.isEmpty())
        return QStringLiteral("Enter the folder that holds the data files, or choose it with Browse.");
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("The folder %1 does not exist. Choose a folder that does (Browse).")
            .arg(QDir::toNativeSeparators(folder));
    if (!info.isDir())
        return QStringLiteral("%1 is a file, not a folder. Choose the folder that holds the data files.")
            .arg(QDir::toNativeSeparators(folder));
    if (!info.isWritable())
        return QStringLiteral("You may not write into the folder %1; the program writes its database and backups "
                              "there. Choose another folder.")
            .arg(QDir::toNativeSeparators(folder));
    return QString();
}

QString SetDriveDialog::saveChange(const QString& typed) {
    QString folder = typed.trimmed();
    // Without its separator the file name would be glued to the folder's name and the next start would fail.
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    Settings::setNewpath(folder);
    if (!QFileInfo(Settings::databasePath(folder)).isFile())
        return noDatabaseWarning.arg(QDir::toNativeSeparators(folder));
    return QString();
}
