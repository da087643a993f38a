#pragma once

#include "BackupSchedule.h"
#include "NettingDialog.h"
#include "RecordEditor.h"
#include "RecordSet.h"
#include "ReportPreview.h"
#include "RunReporter.h"
#include "TaxpayerCase.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QFrame;
class QTreeWidget;
class QMenu;
class QProgressBar;
class QToolButton;
class QtDatabase;
class PostgresDatabase;
struct ServerAddress;
struct ReportKind;

// frmMain, the program's home: the active taxpayer, the menus and commands, the progress bar and the timers.
class MainWindow : public QMainWindow, public RunReporter {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load step: settings, backups, the main connection and record set.
    void load();

    int Taxpayer_Number = 0;
    QString activeName() const;
    QAction* action(const QString& commandName) const;
    QTimer* timer(const QString& name) const;
    BackupSchedule& backups() { return backupSchedule; }
    QtDatabase* connection() const { return db.get(); }
    ReportPreview* shownReport() const { return lastPreview; }
    RecordEditor* openEditorWindow() const { return lastEditor; }

    // Commands, callable from tests as the menu calls them.
    void selectExistingTaxpayer();
    void chooseTaxpayer(int number); // a click in the taxpayer list
    void fullRefresh();              // after the taxpayer and rate editors
    void shortHandBack();            // after the other editors
    void toggleSplash();
    void showErrorResetWindow();

    // The data folder the program opened at start: everything in this run of the program uses its files, whatever
    // "Newpath" says by now.
    const QString& dataFolder() const { return sessionNewpath; }

    // RunReporter: what the runs show on this window.
    void message(const QString& text) override;
    void notice(const QString& text) override;
    void progress(int value) override;
    void progressVisible(bool visible) override;
    // Arms the named report timer to fire once after `intervalMs`.
    void armTimer(const QString& timer, int intervalMs);
    void globalFailure(const QString& description) override;

signals:
    // The window has closed: the program ends, whatever other window is still open.
    void closing();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // An open editor is asked first; it may hold a record being typed.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<QtDatabase> db;
    std::unique_ptr<QtDatabase> openChosenDatabase();
    std::unique_ptr<PostgresDatabase> connectAsking(const ServerAddress& server);
    void showRights();
    void mnuDatabase_Click();
    void mnuCopyToServer_Click();
    QString databaseFile;
    RecordSet mainRows;
    int activeRow = -1;
    BackupSchedule backupSchedule;
    QString sessionNewpath;
    std::map<QString, QAction*> actions;
    std::map<QString, QMenu*> menus;
    std::map<QString, QTimer*> timers;
    QPointer<ReportPreview> lastPreview;
    // The report each armed timer will show, built when its run committed; and the preview open of each kind.
    std::map<QString, ReportContent> pendingReports;
    std::map<QString, QPointer<ReportPreview>> openPreviews;
    QPointer<RecordEditor> lastEditor;

    QLabel* nameLabel;
    QLineEdit* Text1;
    QLabel* selectLabel;
    QLineEdit* findBox;
    QTreeWidget* DataList1;
    QFrame* missingFolder;
    QMenu* recentMenu = nullptr;
    QLabel* Label4;
    QLabel* paymentWarning;
    QLabel* statusLabel;
    QProgressBar* ProgressBar1;

    void buildMenus();
    void buildBody();
    void buildTimers();
    QAction* addCommand(QMenu* menu, const QString& caption, const QString& name, void (MainWindow::*slot)());
    void openMainConnection();
    void waitFor(QWidget* window); // disables the main window while `window` is open
    void setTaxpayerCommands(bool enabled);
    // The active taxpayer's case, read afresh for a run.
    TaxpayerCase activeCase();
    void runReport(const ReportKind& kind);
    void showReport(const QString& timerName);
    void openEditor(RecordEditor* editor, bool fullRefresh);
    EditorContext editorContext() const;
    void mnuNewTaxpayer_Click();
    void mnuEnterPayments_Click();
    void mnuPayrollTaxLiabilityData_Click();
    void mnuAdnlChrgs_Click();
    void mnuEstimatedTax_Click();
    void mnuRefunds_Click();
    void mnuNettingReport_Click();
    void mnuImportTranscript_Click();
    void mnuNoticeCheck_Click();
    void mnuPenaltyRelief_Click();
    void showContent(ReportContent content, const QString& caption);
    void importTranscript(const class TranscriptDialog& dialog);
    void showNetting(const NettingDialog& netting);
    void saveNettingClaim(const NettingDialog& netting);
    QPointer<NettingDialog> nettingWindow;
    void mnuUpdateRates_Click();
    void mnuAllTaxpayers_Click();
    // The published rates of `file` the rate tables lack, offered and added on Yes; `sayWhenCurrent`: say so
    // when nothing is missing (the menu command; at start nothing is said).
    void offerRates(const QString& file, bool sayWhenCurrent);
    void offerShippedRates();
    void mnuSave_Click();
    void mnuRetrieve_Click();
    void mnuQuit_Click();
    void listRecentFiles();
    void retrieveFile(const QString& file);
    void showRetrieveDialog(const QString& file); // empty: the dialog asks for the file
    void filterTaxpayers(const QString& text);
    // A data folder without the database: the banner with "Choose Folder…", and the commands that need it off.
    void showMissingFolder(bool missing);
    void chooseDataFolder();

    void mnuSetDrive_Click();
    void mnuContents_Click();
    void mnuIRSInterestRateAnnouncement_Click();
    void mnuUserManual_Click();
    void mnuINCTAXPUBS_Click();
    void mnuPRTAXPEN_Click();
    void mnuAbout_Click();
    void showDocument(const QString& fileName);
};
