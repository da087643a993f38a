#include "MainWindow.h"

#include "CaseReader.h"
#include "Clock.h"
#include "Documents.h"
#include "Editors.h"
#include "ErrorHandler.h"
#include "ErrorReportText.h"
#include "ErrorResetWindow.h"
#include "FileDialogs.h"
#include "InfoWindows.h"
#include "MessageBoxes.h"
#include "Names.h"
#include "ProgramFiles.h"
#include "RateUpdate.h"
#include "RatesFile.h"
#include "ReportKind.h"
#include "ReportPreview.h"
#include "ReportSource.h"
#include "Rounding.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TransferDialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString noPaymentsWarning = QStringLiteral("You must enter at least one payroll tax payment.");

// The items a selected taxpayer enables, and a lost one disables again.
const QStringList taxpayerItems = {"mnuTransactions",   "mnuReport",        "mnuEnterPayments", "mnuAdnlChrgs",
                                   "mnuInterestReport", "mnuSummaryReport", "mnuPenaltyReport", "mnuPaymentReport"};
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
    QMenu* select = menu(QStringLiteral("   &Select or Add Taxpayer  "), QStringLiteral("mnuSelect"));
    addCommand(select, QStringLiteral("Select &Existing Taxpayer"), QStringLiteral("mnuExistingCo"),
               &MainWindow::selectExistingTaxpayer);
    addCommand(select, QStringLiteral("&Add, Update or Delete Taxpayer"), QStringLiteral("mnuNewTaxpayer"),
               &MainWindow::mnuNewTaxpayer_Click);
    addCommand(select, QStringLiteral("Sa&ve Taxpayer To Disk"), QStringLiteral("mnuSave"), &MainWindow::mnuSave_Click);
    addCommand(select, QStringLiteral("&Retrieve Taxpayer From Disk"), QStringLiteral("mnuRetrieve"),
               &MainWindow::mnuRetrieve_Click);
    select->addSeparator();
    addCommand(select, QStringLiteral("Summary Of &All Taxpayers"), QStringLiteral("mnuAllTaxpayers"),
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

    QMenu* system = menu(QStringLiteral("  S&ystem   "), QStringLiteral("mnuSystem"));
    addCommand(system, QStringLiteral("Set &Drive and Directory"), QStringLiteral("mnuSetDrive"),
               &MainWindow::mnuSetDrive_Click);
    addCommand(system, QStringLiteral("Turn &splash screen on or off"), QStringLiteral("mnusplashoff"),
               &MainWindow::toggleSplash);
    addCommand(system, QStringLiteral("&Update Interest Rates…"), QStringLiteral("mnuUpdateRates"),
               &MainWindow::mnuUpdateRates_Click);
    QAction* reset = addCommand(system, QStringLiteral("&Reset Error State"), QStringLiteral("mnuErrorState"), nullptr);
    connect(reset, &QAction::triggered, this,
            [this] { ErrorHandler::guard(QStringLiteral("mnuErrorState_Click"), [this] { showErrorResetWindow(); }); });
    reset->setVisible(false);
    reset->setEnabled(false);

    QMenu* help = menu(QStringLiteral("  &Help "), QStringLiteral("mnuHelp"));
    addCommand(help, QStringLiteral("Help &Contents"), QStringLiteral("mnuContents"), &MainWindow::mnuContents_Click);
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
    DataList1 = new QListWidget(body);
    DataList1->setObjectName(QStringLiteral("DataList1"));
    DataList1->hide();
    DataList1->setEnabled(false);
    connect(DataList1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        SectionTrail::enter(QStringLiteral("frmMain.DataList1_Click"));
        try {
            chooseTaxpayer(item->data(Qt::UserRole).toInt());
        } catch (const std::exception& e) {
            // The list shows its own failures instead of the error report.
            MessageBoxes::show(this, QString::fromStdString(e.what()));
        }
    });
    connect(DataList1, &QListWidget::itemActivated, DataList1, &QListWidget::itemClicked);

    savingLabel = new QLabel(QStringLiteral("Please Wait - Saving Data"), body);
    savingLabel->setObjectName(QStringLiteral("lblSaving"));
    savingLabel->hide();
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
    layout->addWidget(selectLabel);
    layout->addWidget(DataList1, 1);
    layout->addStretch();
    layout->addWidget(Label4);
    layout->addWidget(paymentWarning);
    layout->addWidget(savingLabel);
    layout->addWidget(ProgressBar1);
    layout->addWidget(statusLabel);
}

void MainWindow::buildTimers() {
    const std::pair<const char*, int> all[] = {{"Timer1", 4000}, {"Timer2", 3000}, {"Timer3", 5000},
                                               {"Timer4", 3000}, {"Timer5", 1000}, {"Timer6", 5000},
                                               {"Timer7", 5000}, {"Timer8", 3000}, {"Timer10", 500}};
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
    connect(timers["Timer2"], &QTimer::timeout, this,
            [this] { ErrorHandler::guard(QStringLiteral("frmMain.Timer2_Timer"), [this] { fullRefresh(); }); });
    connect(timers["Timer8"], &QTimer::timeout, this,
            [this] { ErrorHandler::guard(QStringLiteral("frmMain.Timer8_Timer"), [this] { shortHandBack(); }); });
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
    db = std::make_unique<SqliteDatabase>(databaseFile);
    mainRows = db->query(Sql::selectAllTaxpayers());
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
    DataList1->clear();
    for (int i = 0; i < list.size(); ++i) {
        auto* item = new QListWidgetItem(list.value(i, Columns::taxpayerName).toString(), DataList1);
        item->setData(Qt::UserRole, list.value(i, Columns::taxpayerNumber).toInt());
    }
    DataList1->setEnabled(true);
    DataList1->show();
    selectLabel->show();
    DataList1->setFocus();
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
    selectLabel->hide();
    QMainWindow::mousePressEvent(event);
}

void MainWindow::fullRefresh() {
    timers["Timer2"]->stop();
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
    savingLabel->hide();
}

void MainWindow::shortHandBack() {
    timers["Timer8"]->stop();
    setEnabled(true);
    activateWindow();
    savingLabel->hide();
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
        savingLabel->show();
        timers[refresh ? QStringLiteral("Timer2") : QStringLiteral("Timer8")]->start();
    });
    editor->show();
    if (const QScreen* screen = editor->screen())
        editor->move(screen->availableGeometry().center() - editor->rect().center());
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
    try {
        auto* dialog = new RetrieveTaxpayerDialog(sessionNewpath, this);
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
