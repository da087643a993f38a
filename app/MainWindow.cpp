#include "MainWindow.h"

#include "CaseReader.h"
#include "Clock.h"
#include "Connection.h"
#include "DatabaseDialog.h"
#include "Documents.h"
#include "Editors.h"
#include "ErrorHandler.h"
#include "ErrorReportText.h"
#include "ErrorResetWindow.h"
#include "FileDialogs.h"
#include "InfoWindows.h"
#include "MessageBoxes.h"
#include "Names.h"
#include "NettingDialog.h"
#include "NoticeDialog.h"
#include "PostgresDatabase.h"
#include "ProgramFiles.h"
#include "RateUpdate.h"
#include "RatesFile.h"
#include "ReliefDialog.h"
#include "ReportKind.h"
#include "ReportPreview.h"
#include "ReportSource.h"
#include "Rounding.h"
#include "ScreenFit.h"
#include "SectionTrail.h"
#include "ServerTransfer.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "StartUp.h"
#include "Statements.h"
#include "StoreError.h"
#include "TranscriptDialog.h"
#include "TranscriptFile.h"
#include "TransferDialogs.h"
#include "WholeFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString noPaymentsWarning = QStringLiteral("You must enter at least one payroll tax payment.");

// The items a selected taxpayer enables, and a lost one disables again.
const QStringList taxpayerItems = {"mnuTransactions",   "mnuReport",        "mnuEnterPayments", "mnuAdnlChrgs",
                                   "mnuInterestReport", "mnuSummaryReport", "mnuPenaltyReport", "mnuPaymentReport",
                                   "mnuRefunds",        "mnuNettingReport", "mnuNoticeCheck",   "mnuPenaltyRelief"};
const QStringList payrollItems = {"mnuPayrollTaxLiabilityData", "mnuPRTaxPenaltyRpt"};

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(programTitle);
    sessionNewpath = Settings::newpath();
    backupSchedule.setFolder(sessionNewpath);
    // No export or save of this session replaces the files of its data folder.
    ProgramFiles::setDataFolder(sessionNewpath);
    buildMenus();
    buildBody();
    buildTimers();
    resize(760, 480);
    ErrorHandler::attach({[this] { backupSchedule.stop(); },
                          [this] {
                              action("mnuErrorState")->setVisible(true);
                              action("mnuErrorState")->setEnabled(true);
                          }});
    connect(&backupSchedule, &BackupSchedule::failed, this, [](const QString& why) {
        SectionTrail::enter(QStringLiteral("FrmMain.Timer9_Timer"));
        ErrorHandler::report({why, failureStore});
    });
}

MainWindow::~MainWindow() {
    ErrorHandler::attach({});
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& caption, const QString& name, void (MainWindow::*slot)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    actions[name] = a;
    if (slot)
        connect(a, &QAction::triggered, this, [this, name, slot] {
            ErrorHandler::guard(QStringLiteral("frmMain.") + name + QStringLiteral("_Click"),
                                [this, slot] { (this->*slot)(); });
        });
    return a;
}

void MainWindow::buildMenus() {
    auto menu = [this](const QString& caption, const QString& name) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        menus[name] = m;
        actions[name] = m->menuAction();
        m->menuAction()->setObjectName(name);
        return m;
    };
    QMenu* file = menu(QStringLiteral("&File"), QStringLiteral("mnuFile"));
    recentMenu = file->addMenu(QStringLiteral("Retrieve &Recent Taxpayer File"));
    recentMenu->setObjectName(QStringLiteral("mnuRecent"));
    recentMenu->menuAction()->setObjectName(QStringLiteral("mnuRecent"));
    actions[QStringLiteral("mnuRecent")] = recentMenu->menuAction();
    connect(recentMenu, &QMenu::aboutToShow, this, [this] { listRecentFiles(); });
    file->addSeparator();
    addCommand(file, QStringLiteral("&Import IRS Account Transcript…"), QStringLiteral("mnuImportTranscript"),
               &MainWindow::mnuImportTranscript_Click);
    file->addSeparator();
    QAction* quit = addCommand(file, QStringLiteral("&Quit"), QStringLiteral("mnuQuit"), &MainWindow::mnuQuit_Click);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* select = menu(QStringLiteral("   &Select or Add Taxpayer  "), QStringLiteral("mnuSelect"));
    addCommand(select, QStringLiteral("Select &Existing Taxpayer"), QStringLiteral("mnuExistingCo"),
               &MainWindow::selectExistingTaxpayer)
        ->setShortcut(QKeySequence::Find);
    addCommand(select, QStringLiteral("&Add, Update or Delete Taxpayer"), QStringLiteral("mnuNewTaxpayer"),
               &MainWindow::mnuNewTaxpayer_Click);
    addCommand(select, QStringLiteral("Sa&ve Taxpayer To Disk"), QStringLiteral("mnuSave"), &MainWindow::mnuSave_Click);
    addCommand(select, QStringLiteral("&Retrieve Taxpayer From Disk"), QStringLiteral("mnuRetrieve"),
               &MainWindow::mnuRetrieve_Click);
    select->addSeparator();
    addCommand(select, QStringLiteral("Summary Of All &Taxpayers"), QStringLiteral("mnuAllTaxpayers"),
               &MainWindow::mnuAllTaxpayers_Click);

    QMenu* transactions = menu(QStringLiteral("  &Transactions   "), QStringLiteral("mnuTransactions"));
    addCommand(transactions, QStringLiteral("&Payments && Deposits"), QStringLiteral("mnuEnterPayments"),
               &MainWindow::mnuEnterPayments_Click);
    addCommand(transactions, QStringLiteral("Payroll &Tax Deposits Required By IRS"),
               QStringLiteral("mnuPayrollTaxLiabilityData"), &MainWindow::mnuPayrollTaxLiabilityData_Click);
    addCommand(transactions, QStringLiteral("&Additional Charges"), QStringLiteral("mnuAdnlChrgs"),
               &MainWindow::mnuAdnlChrgs_Click);
    addCommand(transactions, QStringLiteral("&Estimated Tax"), QStringLiteral("mnuEstimatedTax"),
               &MainWindow::mnuEstimatedTax_Click);
    addCommand(transactions, QStringLiteral("Re&funds"), QStringLiteral("mnuRefunds"), &MainWindow::mnuRefunds_Click);

    QMenu* rates = menu(QStringLiteral("  &Interest Rates   "), QStringLiteral("mnuInterestRatefrm"));
    for (const RateKind& kind : RateKinds::all()) {
        QAction* a = addCommand(rates, kind.menuCaption, kind.menuCommand, nullptr);
        connect(a, &QAction::triggered, this, [this, &kind] {
            ErrorHandler::guard(QStringLiteral("frmMain.") + kind.menuCommand + QStringLiteral("_Click"),
                                [this, &kind] { openEditor(new RateEditor(kind, editorContext(), this), true); });
        });
    }

    QMenu* reports = menu(QStringLiteral("  &Reports   "), QStringLiteral("mnuReport"));
    for (const auto& [caption, command] :
         {std::pair{"Penalty && &Interest Report", "mnuInterestReport"},
          std::pair{"&Failure To Pay && File Penalty Calculation Report", "mnuPenaltyReport"},
          std::pair{"&Summary Report", "mnuSummaryReport"}, std::pair{"P&ayment Report", "mnuPaymentReport"},
          std::pair{"Payroll &Tax Deposit Penalty Report", "mnuPRTaxPenaltyRpt"},
          std::pair{"&Estimated Tax Penalty", "mnuEstimatedTaxReport"}}) {
        const ReportKind* kind = ReportKind::byCommand(QLatin1String(command));
        QAction* a = addCommand(reports, QLatin1String(caption), QLatin1String(command), nullptr);
        connect(a, &QAction::triggered, this, [this, kind] {
            ErrorHandler::guard(QStringLiteral("frmMain.") + kind->command + QStringLiteral("_Click"),
                                [this, kind] { runReport(*kind); });
        });
    }
    reports->addSeparator();
    addCommand(reports, QStringLiteral("Interest &Netting Of The Client's Returns…"),
               QStringLiteral("mnuNettingReport"), &MainWindow::mnuNettingReport_Click);
    addCommand(reports, QStringLiteral("Check An IRS Noti&ce…"), QStringLiteral("mnuNoticeCheck"),
               &MainWindow::mnuNoticeCheck_Click);
    addCommand(reports, QStringLiteral("Penalty &Relief…"), QStringLiteral("mnuPenaltyRelief"),
               &MainWindow::mnuPenaltyRelief_Click);

    QMenu* system = menu(QStringLiteral("  S&ystem   "), QStringLiteral("mnuSystem"));
    addCommand(system, QStringLiteral("Set &Drive and Directory"), QStringLiteral("mnuSetDrive"),
               &MainWindow::mnuSetDrive_Click);
    addCommand(system, QStringLiteral("Turn &splash screen on or off"), QStringLiteral("mnusplashoff"),
               &MainWindow::toggleSplash);
    addCommand(system, QStringLiteral("&Update Interest Rates…"), QStringLiteral("mnuUpdateRates"),
               &MainWindow::mnuUpdateRates_Click);
    addCommand(system, QStringLiteral("Data&base…"), QStringLiteral("mnuDatabase"), &MainWindow::mnuDatabase_Click);
    addCommand(system, QStringLiteral("&Copy This File To The Server…"), QStringLiteral("mnuCopyToServer"),
               &MainWindow::mnuCopyToServer_Click);
    // Which part of a corporation's overpayment above $10,000 a refund or a netting takes first.
    QAction* firstPart = addCommand(system, QStringLiteral("A Refund Takes The &First $10,000 First"),
                                    QStringLiteral("mnuRefundTakesFirst"), nullptr);
    firstPart->setCheckable(true);
    firstPart->setChecked(Settings::refundTakesFirstPart());
    connect(firstPart, &QAction::toggled, this, [](bool on) {
        Settings::setRefundTakesFirstPart(on);
        CaseReader::setRefundTakesFirstPart(on);
    });
    QAction* reset = addCommand(system, QStringLiteral("&Reset Error State"), QStringLiteral("mnuErrorState"), nullptr);
    connect(reset, &QAction::triggered, this,
            [this] { ErrorHandler::guard(QStringLiteral("mnuErrorState_Click"), [this] { showErrorResetWindow(); }); });
    reset->setVisible(false);
    reset->setEnabled(false);

    QMenu* help = menu(QStringLiteral("  &Help "), QStringLiteral("mnuHelp"));
    addCommand(help, QStringLiteral("Help &Contents"), QStringLiteral("mnuContents"), &MainWindow::mnuContents_Click)
        ->setShortcut(QKeySequence::HelpContents);
    QAction* announcement = addCommand(help, QStringLiteral("IRS Interest &Rate Announcement"),
                                       QStringLiteral("mnuIRSInterestRateAnnouncement"), nullptr);
    connect(announcement, &QAction::triggered, this, [this] {
        ErrorHandler::guard(QStringLiteral("mnuIRSInterestRateAnnouncement_Click"),
                            [this] { mnuIRSInterestRateAnnouncement_Click(); });
    });
    addCommand(help, QStringLiteral("&Manual With Examples"), QStringLiteral("mnuUserManual"),
               &MainWindow::mnuUserManual_Click);
    QMenu* pubs = help->addMenu(QStringLiteral("IRS &Penalty && Interest Rules"));
    pubs->setObjectName(QStringLiteral("mnuIRSpubs"));
    pubs->menuAction()->setObjectName(QStringLiteral("mnuIRSpubs"));
    actions[QStringLiteral("mnuIRSpubs")] = pubs->menuAction();
    addCommand(pubs, QStringLiteral("&Income Tax Penalty Rules"), QStringLiteral("mnuINCTAXPUBS"),
               &MainWindow::mnuINCTAXPUBS_Click);
    addCommand(pubs, QStringLiteral("&Payroll Tax Penalty Rules"), QStringLiteral("mnuPRTAXPEN"),
               &MainWindow::mnuPRTAXPEN_Click);
    addCommand(help, QStringLiteral("&About"), QStringLiteral("mnuAbout"), &MainWindow::mnuAbout_Click);

    setTaxpayerCommands(false);
    for (const auto& name : payrollItems)
        action(name)->setEnabled(false);
}

void MainWindow::buildBody() {
    auto* body = new QWidget(this);
    setCentralWidget(body);

    auto picture = [this, body](const QString& name, QStyle::StandardPixmap icon, const QString& hint,
                                void (MainWindow::*slot)()) {
        auto* b = new QToolButton(body);
        b->setObjectName(name);
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(32, 32));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, name, slot] {
            ErrorHandler::guard(QStringLiteral("frmMain.") + name + QStringLiteral("_Click"),
                                [this, slot] { (this->*slot)(); });
        });
        return b;
    };
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(picture(QStringLiteral("Picture1"), QStyle::SP_DirOpenIcon,
                                QStringLiteral("Open an existing taxpayer"), &MainWindow::selectExistingTaxpayer));
    pictures->addWidget(picture(QStringLiteral("Picture2"), QStyle::SP_DialogSaveButton,
                                QStringLiteral("Save taxpayer to disk"), &MainWindow::mnuSave_Click));
    pictures->addWidget(picture(QStringLiteral("Picture3"), QStyle::SP_FileDialogNewFolder,
                                QStringLiteral("Setup a new taxpayer or modify existing taxpayer"),
                                &MainWindow::mnuNewTaxpayer_Click));
    pictures->addStretch();

    nameLabel = new QLabel(QStringLiteral("Taxpayer &Name:"), body);
    nameLabel->setObjectName(QStringLiteral("lblTaxpayerName"));
    Text1 = new QLineEdit(body);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    nameLabel->setBuddy(Text1);
    nameLabel->hide();
    Text1->hide();

    selectLabel = new QLabel(QStringLiteral("Select taxpayer to open"), body);
    selectLabel->setObjectName(QStringLiteral("lblSelect"));
    selectLabel->hide();
    // The taxpayers by name with their numbers, narrowed as a name or number is typed into the box above them.
    findBox = new QLineEdit(body);
    findBox->setObjectName(QStringLiteral("txtFindTaxpayer"));
    findBox->setPlaceholderText(QStringLiteral("Type a name, number or client code (Ctrl+F); Enter opens the first"));
    findBox->setClearButtonEnabled(true);
    findBox->hide();
    DataList1 = new QTreeWidget(body);
    DataList1->setObjectName(QStringLiteral("DataList1"));
    DataList1->setColumnCount(3);
    // A click on "Client" puts each client's returns together.
    DataList1->setHeaderLabels({QStringLiteral("No."), QStringLiteral("Taxpayer Name"), QStringLiteral("Client")});
    DataList1->setRootIsDecorated(false);
    DataList1->setAlternatingRowColors(true);
    DataList1->setSortingEnabled(true);
    DataList1->header()->setSortIndicator(1, Qt::AscendingOrder);
    DataList1->header()->resizeSection(0, DataList1->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    // The name takes the room; the client code keeps a width of its own.
    DataList1->header()->setStretchLastSection(false);
    DataList1->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    DataList1->header()->resizeSection(2,
                                       DataList1->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMM")) + 16);
    DataList1->hide();
    DataList1->setEnabled(false);
    auto choose = [this](QTreeWidgetItem* item) {
        if (!item)
            return;
        SectionTrail::enter(QStringLiteral("frmMain.DataList1_Click"));
        try {
            chooseTaxpayer(item->data(0, Qt::UserRole).toInt());
        } catch (const std::exception& e) {
            // The list shows its own failures instead of the error report.
            MessageBoxes::show(this, QString::fromStdString(e.what()));
        }
    };
    connect(DataList1, &QTreeWidget::itemClicked, this, [choose](QTreeWidgetItem* item, int) { choose(item); });
    connect(DataList1, &QTreeWidget::itemActivated, this, [choose](QTreeWidgetItem* item, int) { choose(item); });
    connect(findBox, &QLineEdit::textChanged, this, [this](const QString& text) { filterTaxpayers(text); });
    connect(findBox, &QLineEdit::returnPressed, this, [this, choose] {
        for (int i = 0; i < DataList1->topLevelItemCount(); ++i)
            if (!DataList1->topLevelItem(i)->isHidden()) {
                choose(DataList1->topLevelItem(i));
                return;
            }
        QApplication::beep();
    });
    findBox->installEventFilter(this);

    // A data folder without the program's database: said here, with the way out, and the commands wait for it.
    missingFolder = new QFrame(body);
    missingFolder->setObjectName(QStringLiteral("frmMissingFolder"));
    missingFolder->setFrameShape(QFrame::StyledPanel);
    auto* missingText = new QLabel(missingFolder);
    missingText->setObjectName(QStringLiteral("lblMissingFolder"));
    missingText->setWordWrap(true);
    auto* chooseFolder = new QPushButton(QStringLiteral("&Choose Folder…"), missingFolder);
    chooseFolder->setObjectName(QStringLiteral("cmdChooseFolder"));
    connect(chooseFolder, &QPushButton::clicked, this, [this] {
        ErrorHandler::guard(QStringLiteral("frmMain.cmdChooseFolder_Click"), [this] { chooseDataFolder(); });
    });
    auto* missingLayout = new QVBoxLayout(missingFolder);
    missingLayout->addWidget(missingText);
    missingLayout->addWidget(chooseFolder, 0, Qt::AlignLeft);
    missingFolder->hide();

    Label4 = new QLabel(body);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold"));
    Label4->setWordWrap(true);
    Label4->hide();
    paymentWarning = new QLabel(noPaymentsWarning, body);
    paymentWarning->setObjectName(QStringLiteral("Label5"));
    paymentWarning->setStyleSheet(Label4->styleSheet());
    paymentWarning->hide();
    statusLabel = new QLabel(body);
    statusLabel->setObjectName(QStringLiteral("lblStatus"));
    ProgressBar1 = new QProgressBar(body);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();

    auto* name = new QHBoxLayout;
    name->addWidget(nameLabel);
    name->addWidget(Text1, 1);
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(pictures);
    layout->addLayout(name);
    layout->addWidget(missingFolder);
    layout->addWidget(selectLabel);
    layout->addWidget(findBox);
    layout->addWidget(DataList1, 1);
    layout->addStretch();
    layout->addWidget(Label4);
    layout->addWidget(paymentWarning);
    layout->addWidget(ProgressBar1);
    layout->addWidget(statusLabel);
}

void MainWindow::buildTimers() {
    const std::pair<const char*, int> all[] = {{"Timer1", 4000}, {"Timer3", 5000}, {"Timer4", 3000}, {"Timer5", 1000},
                                               {"Timer6", 5000}, {"Timer7", 5000}, {"Timer10", 500}};
    for (const auto& [name, interval] : all) {
        auto* t = new QTimer(this);
        t->setObjectName(QLatin1String(name));
        t->setSingleShot(true);
        t->setInterval(interval);
        timers[QLatin1String(name)] = t;
    }
    for (const ReportKind& kind : ReportKind::all()) {
        const QString timerName = kind.timer;
        connect(timers[timerName], &QTimer::timeout, this, [this, timerName] {
            ErrorHandler::guard(QStringLiteral("frmMain.") + timerName + QStringLiteral("_Timer"),
                                [this, timerName] { showReport(timerName); });
        });
    }
    connect(timers["Timer3"], &QTimer::timeout, this, [this] {
        SectionTrail::enter(QStringLiteral("frmMain.Timer3_Timer"));
        Label4->hide();
        paymentWarning->hide();
    });
}

QAction* MainWindow::action(const QString& commandName) const {
    const auto it = actions.find(commandName);
    return it == actions.end() ? nullptr : it->second;
}

QTimer* MainWindow::timer(const QString& name) const {
    const auto it = timers.find(name);
    return it == timers.end() ? nullptr : it->second;
}

QString MainWindow::activeName() const {
    return Text1->isHidden() ? QString() : Text1->text();
}

void MainWindow::load() {
    ErrorHandler::guard(QStringLiteral("frmMain.Form_Load"), [this] {
        statusLabel->clear();
        if (!QFileInfo(Settings::databasePath(sessionNewpath)).isFile()) {
            showMissingFolder(true);
            return;
        }
        // Anything but "True" is no error: backups never stop without a sign and a way to restart them.
        if (!backupSchedule.startIfAllowed()) {
            action("mnuErrorState")->setVisible(true);
            action("mnuErrorState")->setEnabled(true);
        }
        openMainConnection();
        offerShippedRates();
    });
}

void MainWindow::offerShippedRates() {
    const QString shipped = DataFiles::path(DataFiles::rates);
    // A copy run without its data files (built by hand) has nothing to offer.
    if (!QFileInfo::exists(shipped))
        return;
    offerRates(shipped, false);
}

void MainWindow::offerRates(const QString& file, bool sayWhenCurrent) {
    try {
        if (!db)
            openMainConnection();
        const QString source = QFileInfo(file) == QFileInfo(DataFiles::path(DataFiles::rates))
                                   ? QStringLiteral("this installation")
                                   : QStringLiteral("the file ") + QFileInfo(file).fileName();
        RateUpdate update(*db, readPublishedRates(file));
        if (!update.anythingMissing()) {
            if (sayWhenCurrent)
                message(update.nothingMissing(source));
            return;
        }
        if (MessageBoxes::ask(this, update.offer(source)))
            message(update.apply());
    } catch (const StoreError& e) {
        message(QString::fromStdString(e.what()));
    }
}

void MainWindow::mnuUpdateRates_Click() {
    const QString file =
        FileDialogs::openFileName(this, QStringLiteral("Update Interest Rates"), DataFiles::path(DataFiles::rates),
                                  QStringLiteral("Rate files (*.csv);;All files (*)"));
    if (!file.isEmpty())
        offerRates(file, true);
}

void MainWindow::mnuAllTaxpayers_Click() {
    if (!db)
        openMainConnection();
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    ReportContent content;
    try {
        content = loadWholeBook(*db, Clock::today(),
                                [this](int done, int all) { ProgressBar1->setValue(all ? done * 100 / all : 100); });
    } catch (const std::exception& e) {
        // A database that cannot be read, or totals beyond range: said, and the progress bar does not stay behind.
        ProgressBar1->hide();
        message(QString::fromStdString(e.what()));
        return;
    }
    ProgressBar1->hide();
    const QString key = ReportDefinition::wholeBook().name;
    if (QPointer<ReportPreview> previous = openPreviews[key])
        previous->close();
    auto* preview = new ReportPreview(std::move(content), this);
    preview->show();
    openPreviews[key] = preview;
    lastPreview = preview;
}

void MainWindow::openMainConnection() {
    db.reset();
    mainRows = RecordSet();
    activeRow = -1;
    // The database of the start: a new data directory applies from the next start.
    if (databaseFile.isEmpty())
        databaseFile = Settings::databasePath(sessionNewpath);
    db = openChosenDatabase();
    mainRows = db->query(Sql::selectAllTaxpayers());
    showRights();
}

// The firm's server when one is chosen: its password asked once a session when ~/.pgpass has none, and the local
// file offered (for the rest of the session) when the server cannot be reached.
std::unique_ptr<QtDatabase> MainWindow::openChosenDatabase() {
    if (Connection::workingLocally())
        return std::make_unique<SqliteDatabase>(databaseFile);
    try {
        const auto server = Connection::server();
        if (!server)
            return std::make_unique<SqliteDatabase>(databaseFile);
        return connectAsking(*server);
    } catch (const StoreError& e) {
        if (!MessageBoxes::ask(this, e.message() + QStringLiteral("\n\nOpen the local file instead?")))
            throw;
        Connection::workLocallyThisSession(true);
        statusLabel->setText(QStringLiteral("Working on the local file: the server could not be reached."));
        return std::make_unique<SqliteDatabase>(databaseFile);
    }
}

// A connection to `server`, its password asked (at most three times) when the server wants one that ~/.pgpass does
// not hold; kept for the session once it is right. Any other refusal is thrown as it is.
std::unique_ptr<PostgresDatabase> MainWindow::connectAsking(const ServerAddress& server) {
    for (int tries = 0;; ++tries) {
        try {
            return Connection::openServer(server);
        } catch (const StoreError& e) {
            if (!Connection::needsPassword(e) || tries >= 3)
                throw;
            bool typed = false;
            const QString user = server.value(QStringLiteral("user"));
            const QString password =
                QInputDialog::getText(this, QStringLiteral("Password"),
                                      QStringLiteral("The password of %1 for %2:")
                                          .arg(user.isEmpty() ? QStringLiteral("your user") : user, server.shown()),
                                      QLineEdit::Password, QString(), &typed);
            if (!typed)
                throw;
            Connection::rememberPassword(server, password);
        }
    }
}

// What the user may not do on the firm's server is shown disabled, with the reason.
void MainWindow::showRights() {
    auto* server = dynamic_cast<PostgresDatabase*>(db.get());
    const bool rates = !server || server->rights().changeRates;
    for (const char* name : {"mnuUpdateRates", "mnuInterestRatefrm"})
        if (QAction* a = action(QLatin1String(name))) {
            a->setEnabled(rates);
            a->setToolTip(rates ? QString() : PostgresDatabase::ratesRefused());
            a->setStatusTip(a->toolTip());
        }
    if (QAction* copy = action(QStringLiteral("mnuCopyToServer"))) {
        copy->setEnabled(server != nullptr);
        copy->setToolTip(server ? QString() : QStringLiteral("Choose the firm's server first (System > Database…)."));
    }
    for (const char* name : {"mnuInterestRatefrm", "mnuSystem"})
        if (QMenu* m = findChild<QMenu*>(QLatin1String(name)))
            m->setToolTipsVisible(true);
}

void MainWindow::waitFor(QWidget* window) {
    setEnabled(false);
    // Only the main window waits: the window it waits for, and reports or documents already open, stay usable.
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isWindow())
            child->setEnabled(true);
    window->setEnabled(true);
}

void MainWindow::setTaxpayerCommands(bool enabled) {
    for (const auto& name : taxpayerItems) {
        // A menu title is switched on its menu: a menu disabled only through its title would be enabled again
        // with the window, when a dialog closes.
        if (const auto m = menus.find(name); m != menus.end())
            m->second->setEnabled(enabled);
        else
            action(name)->setEnabled(enabled);
    }
}

void MainWindow::selectExistingTaxpayer() {
    if (!db)
        openMainConnection();
    const RecordSet list = db->query(Sql::selectTaxpayersByName());
    DataList1->setSortingEnabled(false);
    DataList1->clear();
    for (int i = 0; i < list.size(); ++i) {
        auto* item = new QTreeWidgetItem(DataList1);
        const int number = list.value(i, Columns::taxpayerNumber).toInt();
        item->setData(0, Qt::DisplayRole, number);
        item->setData(0, Qt::UserRole, number);
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(1, list.value(i, Columns::taxpayerName).toString());
        item->setText(2, list.value(i, Columns::clientCode).toString().trimmed());
    }
    DataList1->setSortingEnabled(true);
    DataList1->setEnabled(true);
    DataList1->show();
    selectLabel->setText(QStringLiteral("Select taxpayer to open (%1)").arg(list.size()));
    selectLabel->show();
    findBox->clear();
    findBox->show();
    findBox->setFocus();
}

void MainWindow::filterTaxpayers(const QString& text) {
    const QString wanted = text.trimmed().toCaseFolded();
    int shown = 0;
    for (int i = 0; i < DataList1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = DataList1->topLevelItem(i);
        const bool match = wanted.isEmpty() || item->text(1).toCaseFolded().contains(wanted) ||
                           item->text(0).startsWith(wanted) || item->text(2).toCaseFolded() == wanted;
        item->setHidden(!match);
        shown += match ? 1 : 0;
    }
    selectLabel->setText(
        wanted.isEmpty()
            ? QStringLiteral("Select taxpayer to open (%1)").arg(DataList1->topLevelItemCount())
            : QStringLiteral("Select taxpayer to open (%1 of %2)").arg(shown).arg(DataList1->topLevelItemCount()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Down from the box goes into the list, on its first row shown.
    if (watched == findBox && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        for (int i = 0; i < DataList1->topLevelItemCount(); ++i)
            if (!DataList1->topLevelItem(i)->isHidden()) {
                DataList1->setCurrentItem(DataList1->topLevelItem(i));
                break;
            }
        DataList1->setFocus();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::chooseTaxpayer(int number) {
    mainRows = db->query(Sql::selectAllTaxpayers());
    activeRow = -1;
    for (int i = 0; i < mainRows.size(); ++i)
        if (mainRows.value(i, Columns::taxpayerNumber).toInt() == number)
            activeRow = i;
    if (activeRow < 0)
        throw std::runtime_error("The taxpayer is no longer in the database.");
    Taxpayer_Number = number;
    Text1->setText(mainRows.value(activeRow, Columns::taxpayerName).toString());
    Text1->setCursorPosition(0); // a long name shows its beginning
    DataList1->setEnabled(false);
    DataList1->hide();
    findBox->hide();
    selectLabel->hide();
    nameLabel->show();
    Text1->show();
    setTaxpayerCommands(true);
    const bool payroll = mainRows.value(activeRow, Columns::payrollTaxSituation).toBool();
    for (const auto& name : payrollItems)
        action(name)->setEnabled(payroll);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    SectionTrail::enter(QStringLiteral("frmMain.Form_Unload"));
    if (lastEditor && lastEditor->isVisible() && !lastEditor->close()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closing();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    SectionTrail::enter(QStringLiteral("frmMain.Form_Click"));
    DataList1->hide();
    DataList1->setEnabled(false);
    findBox->hide();
    selectLabel->hide();
    QMainWindow::mousePressEvent(event);
}

void MainWindow::fullRefresh() {
    setEnabled(true);
    openMainConnection();
    for (int i = 0; i < mainRows.size(); ++i)
        if (mainRows.value(i, Columns::taxpayerNumber).toInt() == Taxpayer_Number)
            activeRow = i;
    if (activeRow < 0) {
        // The active taxpayer is gone: back to the state before any selection, the number kept.
        setTaxpayerCommands(false);
        for (const auto& name : payrollItems)
            action(name)->setEnabled(false);
        nameLabel->hide();
        Text1->hide();
    }
    activateWindow();
}

void MainWindow::shortHandBack() {
    setEnabled(true);
    activateWindow();
}

void MainWindow::toggleSplash() {
    const QString now = Settings::showSplash();
    if (now == QLatin1String("True"))
        Settings::setShowSplash(false);
    else if (now == QLatin1String("False"))
        Settings::setShowSplash(true);
}

void MainWindow::showErrorResetWindow() {
    ErrorResetWindow window([this] { backupSchedule.start(); }, this);
    waitFor(&window);
    window.exec();
    setEnabled(true);
}

TaxpayerCase MainWindow::activeCase() {
    if (activeRow < 0)
        throw std::runtime_error("No taxpayer is selected.");
    auto c = CaseReader(*db).read(Taxpayer_Number);
    if (!c)
        throw std::runtime_error("The taxpayer is no longer in the database.");
    return std::move(*c);
}

void MainWindow::runReport(const ReportKind& kind) {
    if (!db)
        openMainConnection();
    const TaxpayerCase tp = activeCase();
    // The report shows the rows its run handed on, whatever another program writes before the timer fires; its
    // totals can overflow, which is a message, as in the runs.
    try {
        if (kind.run) {
            RunResult result;
            if (kind.run(*db, *this, tp, result) != RunOutcome::Written)
                return;
            pendingReports[kind.timer] = buildReport(*kind.layout, tp, result.rows, Clock::today());
        } else {
            pendingReports[kind.timer] = loadReport(*db, *kind.layout, tp, Clock::today());
        }
        armTimer(kind.timer, reportTimerMs);
    } catch (const Rounding::ArithmeticFault& e) {
        pendingReports.erase(kind.timer);
        message(QString::fromStdString(e.what()));
    }
}

void MainWindow::showReport(const QString& timerName) {
    timers[timerName]->stop();
    const auto pending = pendingReports.find(timerName);
    if (pending == pendingReports.end())
        return;
    auto* preview = new ReportPreview(std::move(pending->second), this);
    pendingReports.erase(pending);
    // A new run of a report replaces the preview of the same report instead of piling windows up.
    if (QPointer<ReportPreview> previous = openPreviews[timerName])
        previous->close();
    preview->show();
    openPreviews[timerName] = preview;
    lastPreview = preview;
    if (timerName != QLatin1String("Timer4"))
        ProgressBar1->hide();
}

EditorContext MainWindow::editorContext() const {
    EditorContext c;
    c.newpath = sessionNewpath;
    c.taxpayerNumber = Taxpayer_Number;
    c.taxpayerName = activeName();
    c.payroll = activeRow >= 0 && mainRows.value(activeRow, Columns::payrollTaxSituation).toBool();
    return c;
}

void MainWindow::openEditor(RecordEditor* editor, bool refresh) {
    lastEditor = editor;
    waitFor(editor);
    connect(editor, &RecordEditor::closedEditor, this, [this, editor, refresh] {
        SectionTrail::enter(editor->objectName() + QStringLiteral(".Form_Unload"));
        if (auto* taxpayers = qobject_cast<TaxpayerEditor*>(editor)) {
            // The payroll items follow the taxpayer the editor showed last.
            for (const auto& name : payrollItems)
                action(name)->setEnabled(taxpayers->shownPayroll());
        }
        // Handed back at once, once the editor's own close is done: nothing is being saved by then, and a key
        // pressed meanwhile reaches this window.
        QTimer::singleShot(0, this, [this, refresh] {
            ErrorHandler::guard(refresh ? QStringLiteral("frmMain.fullRefresh") : QStringLiteral("frmMain.handBack"),
                                [this, refresh] { refresh ? fullRefresh() : shortHandBack(); });
        });
    });
    editor->show();
    if (const QScreen* screen = editor->screen())
        editor->move(screen->availableGeometry().center() - editor->rect().center());
    ScreenFit::fit(editor);
}

void MainWindow::mnuNewTaxpayer_Click() {
    db.reset();
    mainRows = RecordSet();
    activeRow = -1;
    openEditor(new TaxpayerEditor(editorContext(), this), true);
}

void MainWindow::mnuEnterPayments_Click() {
    try {
        openEditor(new PaymentEditor(editorContext(), this), false);
    } catch (const std::exception& e) {
        setEnabled(true);
        MessageBoxes::show(this, QString::fromStdString(e.what()));
    }
}

void MainWindow::mnuPayrollTaxLiabilityData_Click() {
    openEditor(new DepositsEditor(editorContext(), this), false);
}
void MainWindow::mnuAdnlChrgs_Click() {
    openEditor(new ChargesEditor(editorContext(), this), false);
}
void MainWindow::mnuRefunds_Click() {
    openEditor(new RefundsEditor(editorContext(), this), false);
}

// The netting of the active taxpayer's client, every return with its client code, in a window of its own: the pairs
// of returns and their methods, the benefit, the report and the claim text.
void MainWindow::mnuNettingReport_Click() {
    if (!db)
        openMainConnection();
    const TaxpayerCase tp = activeCase();
    if (tp.clientCode.isEmpty()) {
        message(QStringLiteral("%1 has no client code. Enter the same code on the taxpayer form (Select or Add "
                               "Taxpayer > Add, Update or Delete Taxpayer) for each of the client's returns, then "
                               "ask again.")
                    .arg(tp.name));
        return;
    }
    if (QPointer<NettingDialog> open = nettingWindow)
        open->close();
    auto* dialog = new NettingDialog(tp.clientCode, CaseReader(*db).client(tp.clientCode), *this, this);
    if (!dialog->recompute()) {
        delete dialog;
        return;
    }
    nettingWindow = dialog;
    connect(dialog, &NettingDialog::reportWanted, this, [this, dialog] {
        ErrorHandler::guard(QStringLiteral("frmNetting.cmdReport_Click"), [this, dialog] { showNetting(*dialog); });
    });
    connect(dialog, &NettingDialog::claimWanted, this, [this, dialog] {
        ErrorHandler::guard(QStringLiteral("frmNetting.cmdClaim_Click"), [this, dialog] { saveNettingClaim(*dialog); });
    });
    dialog->show();
}

void MainWindow::showNetting(const NettingDialog& netting) {
    ReportContent content;
    try {
        content = nettingContent(netting.result(), Settings::refundTakesFirstPart(), Clock::today());
    } catch (const Rounding::ArithmeticFault& e) {
        message(QString::fromStdString(e.what()));
        return;
    }
    const QString key = ReportDefinition::netting().name;
    if (QPointer<ReportPreview> previous = openPreviews[key])
        previous->close();
    auto* preview = new ReportPreview(std::move(content), this);
    preview->setWindowTitle(QStringLiteral("Netting: client %1").arg(netting.result().clientCode));
    preview->show();
    openPreviews[key] = preview;
    lastPreview = preview;
}

void MainWindow::saveNettingClaim(const NettingDialog& netting) {
    const QString proposed =
        QDir(FileDialogs::documentsFolder())
            .filePath(FileDialogs::safeFileName(
                          QStringLiteral("Client %1 - Form 843 net interest").arg(netting.result().clientCode),
                          QStringLiteral("claim")) +
                      QStringLiteral(".txt"));
    const QString target = FileDialogs::saveFileName(nettingWindow, QStringLiteral("Save Netting Claim Text"), proposed,
                                                     QStringLiteral("Text files (*.txt)"), QStringLiteral("txt"),
                                                     FileDialogs::targetRefusal);
    if (target.isEmpty())
        return;
    const QByteArray text = NettingRun::claimText(netting.result(), netting.returns()).toUtf8();
    try {
        writeWholeFile(target, [&text](QIODevice& device) { device.write(text); });
    } catch (const StoreError& e) {
        message(e.message());
        return;
    }
    message(QStringLiteral("The claim text for client %1 was saved to %2.")
                .arg(netting.result().clientCode, QDir::toNativeSeparators(target)));
}

// An IRS account transcript read, shown line by line with what the import does, and written only when the user
// chooses Import: a new case, or the transcript added to the selected one.
void MainWindow::mnuImportTranscript_Click() {
    if (!db)
        openMainConnection();
    const QString chosen =
        FileDialogs::openFileName(this, QStringLiteral("Import IRS Account Transcript"), FileDialogs::documentsFolder(),
                                  QStringLiteral("Account transcripts (*.txt *.htm *.html *.pdf);;All files (*)"));
    if (chosen.isEmpty())
        return;
    Transcript::Account account;
    TranscriptRules::Rules rules;
    try {
        account = Transcript::read(transcriptBytes(chosen), QFileInfo(chosen).fileName());
        rules = TranscriptRules::installed();
    } catch (const StoreError& e) {
        message(e.message());
        return;
    }
    CaseReader reader(*db);
    std::optional<TaxpayerCase> selected;
    if (activeRow >= 0)
        selected = reader.read(Taxpayer_Number);
    auto* dialog = new TranscriptDialog(chosen, std::move(account), std::move(rules),
                                        reader.figures()->holidays.value_or(std::vector<Holiday>()), selected, this);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        ErrorHandler::guard(QStringLiteral("frmTranscriptImport.cmdImport_Click"),
                            [this, dialog] { importTranscript(*dialog); });
    });
    dialog->open();
    ScreenFit::fit(dialog);
}

void MainWindow::importTranscript(const TranscriptDialog& dialog) {
    if (!dialog.plan())
        return;
    const TranscriptImport::Plan& plan = *dialog.plan();
    int number = 0;
    try {
        number = TranscriptImport::write(*db, plan, dialog.clientCode());
    } catch (const StoreError& e) {
        message(e.message() + QStringLiteral(" Nothing was written."));
        return;
    }
    chooseTaxpayer(number);
    message(QStringLiteral("%1 taxpayer %2, %3: %4 transactions read, %5 left out. Look at the case's dates and "
                           "switches on the taxpayer form before you rely on it.")
                .arg(plan.into ? QStringLiteral("The transcript was added to") : QStringLiteral("Imported as"))
                .arg(number)
                .arg(activeName())
                .arg(plan.transactions())
                .arg(plan.leftOut()));
}

// A report window of its own kind, replacing the last one of that kind.
void MainWindow::showContent(ReportContent content, const QString& caption) {
    const QString key = content.definition ? content.definition->name : caption;
    if (QPointer<ReportPreview> previous = openPreviews[key])
        previous->close();
    auto* preview = new ReportPreview(std::move(content), this);
    preview->setWindowTitle(caption);
    preview->show();
    openPreviews[key] = preview;
    lastPreview = preview;
}

// What an IRS notice says, beside the selected case computed to the notice's date.
void MainWindow::mnuNoticeCheck_Click() {
    if (!db)
        openMainConnection();
    const TaxpayerCase tp = activeCase();
    auto* dialog = new NoticeDialog(tp.name, this);
    const int number = tp.number;
    connect(dialog, &NoticeDialog::checkWanted, this, [this, dialog, number] {
        ErrorHandler::guard(QStringLiteral("frmNoticeCheck.cmdCheck_Click"), [this, dialog, number] {
            const auto notice = dialog->notice();
            if (!notice)
                return;
            const auto c = CaseReader(*db).read(number);
            if (!c)
                throw std::runtime_error("The taxpayer is no longer in the database.");
            NoticeCheck::Result result;
            try {
                if (NoticeCheck::check(*c, *notice, *this, &result) != RunOutcome::Written)
                    return;
                showContent(noticeCheckContent(result, Clock::today()),
                            QStringLiteral("Notice Check: %1").arg(c->name));
            } catch (const Rounding::ArithmeticFault& e) {
                message(QString::fromStdString(e.what()));
            }
        });
    });
    dialog->show();
    ScreenFit::fit(dialog);
}

// The penalties a relief request asks to remove, with the first-time abatement checklist.
void MainWindow::mnuPenaltyRelief_Click() {
    if (!db)
        openMainConnection();
    const TaxpayerCase tp = activeCase();
    auto* dialog = new ReliefDialog(tp.name, tp.endDate, this);
    const int number = tp.number;
    connect(dialog, &ReliefDialog::reportWanted, this, [this, dialog, number] {
        ErrorHandler::guard(QStringLiteral("frmPenaltyRelief.cmdReport_Click"), [this, dialog, number] {
            if (!dialog->date().isValid()) {
                MessageBoxes::show(dialog,
                                   QStringLiteral("\"%1\" is not a date (mm/dd/yyyy).").arg(dialog->typedDate()));
                return;
            }
            const auto c = CaseReader(*db).read(number);
            if (!c)
                throw std::runtime_error("The taxpayer is no longer in the database.");
            PenaltyRelief::Result result;
            try {
                if (PenaltyRelief::compute(*c, dialog->date(), dialog->ticked(), *this, &result) != RunOutcome::Written)
                    return;
                showContent(penaltyReliefContent(result, Clock::today()),
                            QStringLiteral("Penalty Relief: %1").arg(c->name));
            } catch (const Rounding::ArithmeticFault& e) {
                message(QString::fromStdString(e.what()));
            }
        });
    });
    dialog->show();
    ScreenFit::fit(dialog);
}

void MainWindow::mnuEstimatedTax_Click() {
    openEditor(new EstimatedTaxEditor(editorContext(), this), false);
}

void MainWindow::mnuSave_Click() {
    try {
        auto* dialog = new SaveTaxpayerDialog(sessionNewpath, this);
        waitFor(dialog);
        connect(dialog, &QDialog::finished, this, [this] { setEnabled(true); });
        dialog->show();
    } catch (const std::exception&) {
        setEnabled(true);
        MessageBoxes::show(this, QStringLiteral("The disk may not be inserted."));
    }
}

void MainWindow::mnuRetrieve_Click() {
    showRetrieveDialog(QString());
}

void MainWindow::message(const QString& text) {
    MessageBoxes::show(this, text);
}

void MainWindow::notice(const QString& text) {
    Label4->setText(text);
    Label4->show();
    timers["Timer3"]->start();
}

void MainWindow::globalFailure(const QString& description) {
    ErrorHandler::report({description, failureProgram});
}

void MainWindow::progress(int value) {
    ProgressBar1->setValue(value);
}

void MainWindow::progressVisible(bool visible) {
    ProgressBar1->setVisible(visible);
}

void MainWindow::armTimer(const QString& name, int intervalMs) {
    QTimer* t = timer(name);
    if (!t)
        return;
    t->setInterval(intervalMs);
    t->start();
}

void MainWindow::mnuSetDrive_Click() {
    SetDriveDialog dialog(this);
    dialog.exec();
}

void MainWindow::mnuContents_Click() {
    HelpWindow* help = new HelpWindow(sessionNewpath + QStringLiteral("Brenhal/index.html"), this);
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->show();
}

void MainWindow::mnuIRSInterestRateAnnouncement_Click() {
    Documents::shellDocument(Documents::rateAnnouncement);
    close();
}

void MainWindow::showDocument(const QString& fileName) {
    StartDocumentPrompt prompt(this);
    if (prompt.exec() != QDialog::Accepted)
        return;
    auto* browser = new InstructionsWindow(sessionNewpath + fileName, this);
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->show();
}

void MainWindow::mnuUserManual_Click() {
    showDocument(QStringLiteral("ipmanual.pdf"));
}
void MainWindow::mnuINCTAXPUBS_Click() {
    showDocument(QStringLiteral("p17pg18-19.pdf"));
}
void MainWindow::mnuPRTAXPEN_Click() {
    showDocument(QStringLiteral("p15pg21-22.pdf"));
}

void MainWindow::mnuAbout_Click() {
    AboutWindow about(this);
    about.exec();
}

void MainWindow::mnuQuit_Click() {
    close();
}

void MainWindow::listRecentFiles() {
    recentMenu->clear();
    const QStringList files = Settings::recentFiles();
    if (files.isEmpty()) {
        recentMenu->addAction(QStringLiteral("(no file saved or retrieved yet)"))->setEnabled(false);
        return;
    }
    int n = 0;
    for (const QString& file : files) {
        QAction* a = recentMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(
            QFileInfo(file).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        a->setToolTip(QDir::toNativeSeparators(file));
        a->setStatusTip(QDir::toNativeSeparators(file));
        a->setEnabled(db != nullptr || !missingFolder->isVisible());
        connect(a, &QAction::triggered, this, [this, file] {
            ErrorHandler::guard(QStringLiteral("frmMain.mnuRecent_Click"), [this, file] { retrieveFile(file); });
        });
    }
}

void MainWindow::retrieveFile(const QString& file) {
    if (!QFileInfo(file).isFile()) {
        message(QStringLiteral("The file %1 is no longer there; it is taken off the list of recent files.")
                    .arg(QDir::toNativeSeparators(file)));
        Settings::removeRecentFile(file);
        return;
    }
    showRetrieveDialog(file);
}

void MainWindow::showRetrieveDialog(const QString& file) {
    try {
        // Without a file the dialog asks for one first; a cancel there leaves nothing to show.
        auto* dialog = new RetrieveTaxpayerDialog(sessionNewpath, this, file);
        if (!dialog->hasFile()) {
            delete dialog;
            return;
        }
        waitFor(dialog);
        connect(dialog, &QDialog::finished, this, [this] { setEnabled(true); });
        dialog->show();
    } catch (const std::exception& e) {
        setEnabled(true);
        MessageBoxes::show(this, QString::fromStdString(e.what()));
    }
}

void MainWindow::showMissingFolder(bool missing) {
    missingFolder->findChild<QLabel*>(QStringLiteral("lblMissingFolder"))
        ->setText(StartUp::missingDatabaseMessage(sessionNewpath));
    missingFolder->setVisible(missing);
    // Until a folder with the database is chosen, only what needs no database is offered.
    for (const char* name : {"mnuSelect", "mnuInterestRatefrm", "mnuRecent"})
        if (QAction* a = action(QLatin1String(name)))
            a->setEnabled(!missing);
    if (QAction* a = action(QStringLiteral("mnuUpdateRates")))
        a->setEnabled(!missing);
    for (const char* name : {"Picture1", "Picture2", "Picture3"})
        if (auto* b = findChild<QToolButton*>(QLatin1String(name)))
            b->setEnabled(!missing);
    if (missing) {
        setTaxpayerCommands(false);
        for (const auto& name : payrollItems)
            action(name)->setEnabled(false);
        if (auto* b = missingFolder->findChild<QPushButton*>(QStringLiteral("cmdChooseFolder")))
            b->setFocus();
    }
}

void MainWindow::chooseDataFolder() {
    const QString folder = FileDialogs::existingFolder(this, QStringLiteral("Choose the Data Folder"),
                                                       QFileInfo(sessionNewpath).absolutePath());
    if (folder.isEmpty())
        return;
    if (!QFileInfo(Settings::databasePath(Settings::withSeparator(folder))).isFile()) {
        message(QStringLiteral("The folder %1 holds no %2. Choose the folder that holds the program's data files "
                               "(%2 and %3).")
                    .arg(QDir::toNativeSeparators(folder), Settings::databaseFileName, Settings::templateFileName));
        return;
    }
    // The chosen folder is this session's data folder from now on, and the next start's.
    Settings::setNewpath(Settings::withSeparator(folder));
    sessionNewpath = Settings::newpath();
    databaseFile.clear();
    backupSchedule.setFolder(sessionNewpath);
    ProgramFiles::setDataFolder(sessionNewpath);
    showMissingFolder(false);
    if (!backupSchedule.startIfAllowed()) {
        action("mnuErrorState")->setVisible(true);
        action("mnuErrorState")->setEnabled(true);
    }
    openMainConnection();
    offerShippedRates();
}

// The file of the data folder, or the firm's server: a server is taken only once it has been reached; one that cannot
// be reached keeps the dialog open with what was typed, unless the user takes the local file instead.
void MainWindow::mnuDatabase_Click() {
    std::optional<ServerAddress> current;
    try {
        current = Connection::server();
    } catch (const StoreError& e) {
        message(e.message()); // the dialog starts from the file, to choose again
    }
    DatabaseDialog dialog(current, this);
    dialog.setTrial([this](const ServerAddress& address) -> std::optional<QString> {
        try {
            connectAsking(address);
            return std::nullopt;
        } catch (const StoreError& e) {
            return e.message();
        }
    });
    if (dialog.exec() != QDialog::Accepted)
        return;
    ErrorHandler::guard(QStringLiteral("frmMain.mnuDatabase_Click"), [&] {
        Connection::setServer(dialog.chosen());
        Connection::workLocallyThisSession(false);
        openMainConnection();
        statusLabel->setText(QStringLiteral("Working on %1.").arg(db->shown()));
    });
}

// Every taxpayer of the data folder's file to the server, in one transaction; a number the server has is reported.
void MainWindow::mnuCopyToServer_Click() {
    auto* server = dynamic_cast<PostgresDatabase*>(db.get());
    if (!server)
        return;
    if (!MessageBoxes::ask(this, QStringLiteral("Copy every taxpayer of %1 to %2?")
                                     .arg(QDir::toNativeSeparators(databaseFile), server->shown())))
        return;
    try {
        const auto copied = ServerTransfer::copyToServer(databaseFile, *server);
        QString text =
            QStringLiteral("%1 taxpayers were copied to %2.").arg(copied.taxpayers.size()).arg(server->shown());
        if (!copied.alreadyThere.isEmpty()) {
            QStringList numbers;
            for (const int n : copied.alreadyThere)
                numbers << QString::number(n);
            text += QStringLiteral(" Not copied, since the server has a taxpayer of the same number: %1. Save them to "
                                   "a file and retrieve them under new numbers.")
                        .arg(numbers.join(QStringLiteral(", ")));
        }
        message(text);
        openMainConnection();
    } catch (const StoreError& e) {
        message(e.message());
    }
}
