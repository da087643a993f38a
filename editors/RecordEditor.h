#pragma once

#include "FieldText.h"

#include <QDialog>
#include <QSqlTableModel>

#include <functional>
#include <map>
#include <memory>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class SqliteDatabase;

// What an editor needs of the main window.
struct EditorContext {
    QString newpath;        // the data directory
    int taxpayerNumber = 0; // the active taxpayer
    QString taxpayerName;   // as the main window shows it
    bool payroll = false;   // the active taxpayer's payroll-tax switch
};

// The record editor every table editor shares: its own connection and Qt SQL model over one table, bound fields and
// check boxes, Add/Edit/Save/Cancel/Delete/Close, first/previous/next/last, the status caption, the keystroke filter,
// and the refusal of a value that is not of its field's kind.
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
    };

    RecordEditor(Design design, EditorContext context, QWidget* parent = nullptr);
    ~RecordEditor() override;

    // Commands, as the buttons run them.
    void add();
    void edit();
    bool save();
    void cancel();
    void remove();
    void first();
    void previous();
    void next();
    void last();

    int position() const { return current; } // 0-based; -1 when there is no current row
    int rowCount();
    bool adding() const { return addFlag; }
    bool editing() const { return editFlag; }
    QLineEdit* field(int index) const;
    QCheckBox* check(int index) const;
    QString statusText() const;
    QVariant value(const QString& column) const; // the current row's stored value

    // The question asked when the window is closed while a record is being typed.
    static inline const QString dropQuestion =
        QStringLiteral("The record being typed has not been saved. Drop it and close the window?");

signals:
    void closedEditor();

protected:
    Design design;
    EditorContext context;
    std::unique_ptr<SqliteDatabase> db;
    std::unique_ptr<QSqlTableModel> model;
    QLabel* lblStatus;
    QGridLayout* grid;

    // The particulars of each editor.
    virtual void afterAdd() {}
    virtual bool beforeSave() { return true; }
    virtual void afterSave() {}
    virtual bool beforeRemove() { return true; }
    // Deletes the current row; false when it could not.
    virtual bool removeRow(int row);
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
    void focusFirstField();
    int slotRow(const QString& name) const { return slotRows.at(name); }
    void showRow(int row);
    void message(const QString& text);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Closing while a record is being typed asks first, and on Yes drops the record as Cancel does.
    void closeEvent(QCloseEvent* event) override;
    // Every way of closing (the button, Escape in any control, the window's close) hands back once, and never
    // while a row is being changed.
    void reject() override;
    void refreshStatus();

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
    std::map<QString, QPushButton*> buttons;

    void SetButtons(bool browse);
    void loadModel();
    void fetchAll();
    int columnOf(const QString& column) const;
    const Field* fieldDesign(int index) const;
    const Field* fieldOf(const QLineEdit* edit) const;
    void filterPaste(QLineEdit* edit, const QString& text);
    void moveTo(int row);
};
