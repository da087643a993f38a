#pragma once

#include "FieldText.h"

#include <QDialog>
#include <QSqlTableModel>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QCheckBox;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSqlRecord;
class QSplitter;
class RecordList;
class RecordListModel;
class QtDatabase;

// What an editor needs of the main window.
struct EditorContext {
    QString newpath;        // the data directory
    int taxpayerNumber = 0; // the active taxpayer
    QString taxpayerName;   // as the main window shows it
    bool payroll = false;   // the active taxpayer's payroll-tax switch
};

// The record editor every table editor shares: its own connection and Qt SQL model over one table, the list of its
// rows (sortable, filtered, counted) beside the form of bound fields and check boxes, Add/Edit/Save/Cancel/Delete/
// Close, first/previous/next/last, the status caption, the keystroke filter, and the refusal of a value that is not
// of its field's kind. Nothing typed is lost without a question: the fields of a shown record take no input until
// its edit starts, and typing into one starts it.
class RecordEditor : public QDialog {
    Q_OBJECT
public:
    struct Field {
        int index;
        QString column;
        QString label;
        FieldKind kind = FieldKind::Text;
        QString tag = {}; // "Num" or empty
        QString hint = {};
        int maxLength = 0;
        bool hidden = false;
        bool keepWhenEmpty = false; // an empty field leaves the stored value as it was
        bool required = false;      // refused when empty
    };
    struct Check {
        int index;
        QString column;
        QString label;
        QString hint = {};
    };
    enum class Status { None, Record, DepositRecord, RecordOfCount };
    // A column of the list beside the form.
    struct ListColumn {
        QString column;
        QString caption;
        FieldKind kind = FieldKind::Text;
    };

    struct Design {
        QString objectName, caption, noun, addHint;
        QString table;
        int owner = 0;      // the taxpayer whose rows are edited; 0: every row of the table
        QString sortColumn; // the ordering column
        bool descending = false;
        QString key; // the row key, which the store assigns
        Status status = Status::Record;
        std::vector<Field> fields;
        std::vector<Check> checks;
        // The order of the form: "f3" a field, "c11" a check box, "@name" a row kept for a widget of the editor's
        // own (slotRow), anything else a heading. Empty: the fields, then the check boxes.
        QStringList layout;
        // The list's columns; empty: every shown field but the taxpayer's name.
        std::vector<ListColumn> list = {};
        QString plural = {}; // "payments": the list's count; empty: the noun's plural
        // A delete the user can take back (Edit > Undo Delete, Ctrl+Z, until the window closes); otherwise the
        // editor asks before it deletes.
        bool undoableDeletes = true;
        // A "History" command: the changes of the taxpayer shown, as the firm's server records them.
        bool history = false;
    };

    RecordEditor(Design design, EditorContext context, QWidget* parent = nullptr);
    ~RecordEditor() override;

    // Commands, as the buttons run them.
    void add();
    void edit();
    bool save();
    // The changes of the taxpayer shown, as the firm's server records them.
    void showHistory();
    void cancel();
    void remove();
    void first();
    void previous();
    void next();
    void last();
    void undoDelete(); // the last row deleted, back as it was
    bool canUndoDelete() const { return !deletedRows.empty(); }

    int position() const { return current; } // 0-based; -1 when there is no current row
    int rowCount();
    bool adding() const { return addFlag; }
    bool editing() const { return editFlag; }
    QLineEdit* field(int index) const;
    QCheckBox* check(int index) const;
    QString statusText() const;
    QString noteText() const; // what the line under the form says (a row deleted, how to take it back)
    RecordList* recordList() const { return list; }
    QVariant value(const QString& column) const; // the current row's stored value

    // The question asked when the window is closed while a record is being typed.
    static inline const QString dropQuestion =
        QStringLiteral("The record being typed has not been saved. Drop it and close the window?");
    // The question Escape asks while something typed is unsaved.
    static inline const QString cancelQuestion =
        QStringLiteral("The record being typed has not been saved. Drop what was typed?");

signals:
    void closedEditor();

protected:
    Design design;
    EditorContext context;
    std::unique_ptr<QtDatabase> db;
    std::unique_ptr<QSqlTableModel> model;
    QLabel* lblStatus;
    QGridLayout* grid;

    // The particulars of each editor.
    virtual void afterAdd() {}
    virtual bool beforeSave() { return true; }
    // Writes what belongs with the record being saved, in the transaction of its save; throws to undo both.
    virtual void writeWithRecord() {}
    virtual void afterSave() {}
    virtual bool beforeRemove() { return true; }
    // Deletes the current row; false when it could not.
    virtual bool removeRow(int row);
    // What the note says the deleted row was ("the payment of 09/02/2005 ...").
    virtual QString describeRow(int row) const;
    void reselect();
    virtual void afterMove() {}
    virtual void fieldLeft(int) {}

    // A read-only line with the active taxpayer's name, as the main window shows it, under the fields.
    void showTaxpayerName(const QString& caption);
    void setValue(const QString& column, const QVariant& v); // into the current (pending) row
    void setFieldText(int index, const QString& text);
    // The value of every field: what the user typed into it, or, for a field the user has not changed, the value
    // it was filled with (not its display text, which may show fewer decimals). False, after a message naming the
    // field, when a typed text is not a value of its field's kind or a required field is empty.
    bool fieldValues(std::vector<std::pair<const Field*, QVariant>>* values);
    // The value field `index` stands for now: what was typed into it, or what it was filled with; false when the
    // typed text is no value of its kind.
    bool typedValue(int index, QVariant* v) const;
    void focusFirstField();
    // Brings `w`, a widget of the form, into sight: the window grows to hold the whole form where the screen has
    // room, and the form scrolls to it where it has not.
    void reveal(QWidget* w);
    int slotRow(const QString& name) const { return slotRows.at(name); }
    void showRow(int row);
    void message(const QString& text);
    void note(const QString& text);
    // Starts the edit of the shown record as the user starts typing into it, the focus left where it is; false
    // when there is no record to edit.
    bool beginTyping();
    // Whether anything was typed or ticked since Add or Edit.
    virtual bool anythingTyped() const;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Closing while a record is being typed asks first, and on Yes drops the record as Cancel does.
    void closeEvent(QCloseEvent* event) override;
    // Every way of closing (the button, Escape in any control, the window's close) hands back once, and never
    // while a row is being changed.
    void reject() override;
    void refreshStatus();
    // Called when the form switches between browsing and typing (the editor's own controls follow it).
    virtual void typingChanged(bool) {}

private:
    int current = -1;
    int savedPosition = -1;
    bool addFlag = false;
    bool editFlag = false;
    bool handedBack = false;
    std::map<int, QLineEdit*> fields;
    std::map<int, QVariant> exact; // the value each field stands for while the user has not changed it
    QWidget* firstInTab = nullptr;
    std::map<QString, int> slotRows;
    std::map<int, QCheckBox*> checks;
    std::map<int, bool> checkedAtStart;
    std::map<QString, QPushButton*> buttons;
    RecordListModel* listModel = nullptr;
    RecordList* list = nullptr;
    QSplitter* splitter = nullptr;
    QScrollArea* scroll = nullptr;
    QLabel* lblNote = nullptr;
    QAction* undoAction = nullptr;
    std::vector<QSqlRecord> deletedRows;
    bool placed = false;
    // Handles the editor's keys wherever the focus is; true when the key was taken.
    bool handleKey(QObject* watched, QKeyEvent* key);
    void setTyping(bool on);

    void SetButtons(bool browse);
    void loadModel();
    void fetchAll();
    int columnOf(const QString& column) const;
    const Field* fieldDesign(int index) const;
    const Field* fieldOf(const QLineEdit* edit) const;
    void filterPaste(QLineEdit* edit, const QString& text);
    void moveTo(int row);
    // Navigation follows the list as it is sorted and filtered: the list's row of a table row, and back.
    int listRowOf(int row) const;
    int rowAtList(int listRow) const;
    int listCount() const;
    void moveInList(int listRow);
};
