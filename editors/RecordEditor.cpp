#include "RecordEditor.h"

#include "Connection.h"
#include "DataEntryValidation.h"
#include "Database.h"
#include "EditorModel.h"
#include "ErrorHandler.h"
#include "MessageBoxes.h"
#include "Names.h"
#include "PostgresDatabase.h"
#include "RecordList.h"
#include "ScreenFit.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "StoreError.h"
#include <QTableWidget>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString typingNote = QStringLiteral("Save (Ctrl+S) keeps this record; Cancel (Escape) drops what was typed.");
const QString browsingNote = QStringLiteral("Typing into a field starts the edit of the record shown.");
const QString emptyCaption = QStringLiteral("Click Add To Create First Record");

QString kindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Date:
        return QStringLiteral("a date (mm/dd/yyyy)");
    case FieldKind::Money:
        return QStringLiteral("an amount of at most 999,999,999,999.99");
    case FieldKind::Rate:
        return QStringLiteral("a number");
    case FieldKind::Text:
        return QStringLiteral("a text that fits the field");
    }
    return QString();
}

} // namespace

RecordEditor::RecordEditor(Design s, EditorContext c, QWidget* parent)
    : QDialog(parent), design(std::move(s)), context(std::move(c)) {
    setObjectName(design.objectName);
    setWindowTitle(design.caption);
    setAttribute(Qt::WA_DeleteOnClose);

    db = Connection::open(context.newpath);
    loadModel();
    std::vector<RecordListModel::Column> shown;
    if (design.list.empty())
        for (const auto& f : design.fields)
            if (!f.hidden && f.column != QLatin1String("Taxpayer Name"))
                design.list.push_back({f.column, QString(f.label).remove(QLatin1Char(':')), f.kind});
    for (const auto& c : design.list)
        if (const int column = model->fieldIndex(c.column); column >= 0)
            shown.push_back({column, c.caption, c.kind});
    listModel = new RecordListModel(std::move(shown), model.get(), this);
    const QString plural = design.plural.isEmpty() ? design.noun.toLower() + QLatin1Char('s') : design.plural;
    list = new RecordList(listModel, plural, this);
    connect(list, &RecordList::chosen, this, [this](int row) {
        if (!addFlag && !editFlag)
            showRow(row);
    });

    grid = new QGridLayout;
    for (const auto& f : design.fields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txtFields%1").arg(f.index));
        edit->setToolTip(f.hint);
        edit->setProperty("tag", f.tag);
        if (f.maxLength > 0)
            edit->setMaxLength(f.maxLength);
        edit->installEventFilter(this);
        if (!f.tag.isEmpty())
            connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) { filterPaste(edit, text); });
        fields[f.index] = edit;
        if (f.hidden)
            edit->hide();
    }
    for (const auto& ch : design.checks) {
        auto* box = new QCheckBox(ch.label, this);
        box->setObjectName(QStringLiteral("chkFields%1").arg(ch.index));
        box->setToolTip(ch.hint);
        box->installEventFilter(this);
        checks[ch.index] = box;
    }
    QStringList order = design.layout;
    if (order.isEmpty()) {
        for (const auto& f : design.fields)
            order << QStringLiteral("f%1").arg(f.index);
        for (const auto& ch : design.checks)
            order << QStringLiteral("c%1").arg(ch.index);
    }
    int row = 0;
    // The tab order follows the form from top to bottom; it is set once the form is in its scroll area.
    std::vector<QWidget*> tabOrder;
    auto tabAfter = [this, &tabOrder](QWidget* w) {
        if (tabOrder.empty() && qobject_cast<QLineEdit*>(w))
            firstInTab = w;
        tabOrder.push_back(w);
    };
    for (const QString& item : order) {
        bool isNumber = false;
        const int index = item.mid(1).toInt(&isNumber);
        if (item.startsWith(QLatin1Char('f')) && isNumber) {
            const Field* f = fieldDesign(index);
            if (f->hidden)
                continue;
            auto* label = new QLabel(f->label, this);
            label->setBuddy(fields[index]);
            // A long label wraps onto a second line rather than being cut on a narrow screen.
            if (f->label.size() > 32) {
                label->setWordWrap(true);
                label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                // Wide enough for the best break into two lines, whatever the words' lengths.
                const QStringList words = f->label.split(QLatin1Char(' '));
                const QFontMetrics metrics = label->fontMetrics();
                int narrowest = metrics.horizontalAdvance(f->label);
                for (qsizetype i = 1; i < words.size(); ++i)
                    narrowest = std::min(narrowest, std::max(metrics.horizontalAdvance(words.mid(0, i).join(' ')),
                                                             metrics.horizontalAdvance(words.mid(i).join(' '))));
                label->setMinimumWidth(narrowest + 8);
                label->setMinimumHeight(2 * label->fontMetrics().lineSpacing() + 4);
            }
            grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(fields[index], row, 1);
            tabAfter(fields[index]);
            if (f->kind == FieldKind::Date)
                grid->addWidget(new QLabel(QStringLiteral("mm/dd/yyyy"), this), row, 2);
        } else if (item.startsWith(QLatin1Char('c')) && isNumber) {
            grid->addWidget(checks[index], row, 1, 1, 2);
            tabAfter(checks[index]);
        } else if (item.startsWith(QLatin1Char('@'))) {
            slotRows[item.mid(1)] = row;
        } else {
            auto* heading = new QLabel(QStringLiteral("<b>%1</b>").arg(item.toHtmlEscaped()), this);
            grid->addWidget(heading, row, 0, 1, 3);
            if (row > 0)
                grid->setRowMinimumHeight(row, 28);
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);

    lblNote = new QLabel(browsingNote, this);
    lblNote->setObjectName(QStringLiteral("lblNotice"));
    lblNote->setWordWrap(true);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFrameShape(QFrame::Panel);
    lblStatus->setFrameShadow(QFrame::Sunken);

    auto button = [this](const QString& name, const QString& caption, const QString& hint,
                         const std::function<void()>& action) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAutoDefault(false);
        b->installEventFilter(this);
        buttons[name] = b;
        connect(b, &QPushButton::clicked, this, [this, name, action] {
            // The buttons show their own failures; the editor stays as it was.
            SectionTrail::enter(objectName() + QLatin1Char('.') + name + QStringLiteral("_Click"));
            try {
                action();
            } catch (const std::exception& e) {
                message(QString::fromStdString(e.what()));
            }
        });
        return b;
    };
    const QString& n = design.noun;
    const QString lower = n.toLower();
    auto* commands = new QHBoxLayout;
    commands->addWidget(button("cmdAdd", "&Add " + n,
                               design.addHint.isEmpty() ? "Click on this to add a new " + lower + "." : design.addHint,
                               [this] { add(); }));
    commands->addWidget(button("cmdEdit", "&Edit " + n,
                               "If you are not adding a " + lower +
                                   ", but simply want to change the data of the current " + lower +
                                   ", click on this command \"before\" editing.",
                               [this] { edit(); }));
    commands->addWidget(button("cmdUpdate", "&Save " + n,
                               "This is basically the save button. Click on it when you are finished adding or editing "
                               "the " +
                                   lower + ".",
                               [this] { save(); }));
    commands->addWidget(button("cmdCancel", "&Cancel", QString(), [this] { cancel(); }));
    commands->addWidget(button("cmdDelete", "&Delete " + n, QString(), [this] { remove(); }));
    if (design.history) {
        auto* server = dynamic_cast<PostgresDatabase*>(db.get());
        QPushButton* history = button("cmdHistory", "Histor&y",
                                      server ? QStringLiteral("Who changed this taxpayer's rows, when, and how.")
                                             : QStringLiteral("The history of changes is kept by a firm's server "
                                                              "(System > Database…); this file keeps none."),
                                      [this] { showHistory(); });
        history->setEnabled(server != nullptr);
        commands->addWidget(history);
    }
    commands->addWidget(button("cmdClose", "Cl&ose", QString(), [this] { close(); }));

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(button("cmdFirst", "|<", "First (Ctrl+Home)", [this] { first(); }));
    navigation->addWidget(button("cmdPrevious", "<", "Previous (Ctrl+Page Up)", [this] { previous(); }));
    navigation->addWidget(lblStatus, 1);
    navigation->addWidget(button("cmdNext", ">", "Next (Ctrl+Page Down)", [this] { next(); }));
    navigation->addWidget(button("cmdLast", ">|", "Last (Ctrl+End)", [this] { last(); }));

    // Edit > Undo Delete takes back the deletes of this window, the last first.
    auto* bar = new QMenuBar(this);
    QMenu* editMenu = bar->addMenu(QStringLiteral("Edi&t"));
    undoAction = editMenu->addAction(QStringLiteral("&Undo Delete"));
    undoAction->setObjectName(QStringLiteral("actUndoDelete"));
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setEnabled(false);
    connect(undoAction, &QAction::triggered, this, [this] {
        SectionTrail::enter(objectName() + QStringLiteral(".mnuUndo_Click"));
        try {
            undoDelete();
        } catch (const std::exception& e) {
            message(QString::fromStdString(e.what()));
        }
    });
    QAction* find = editMenu->addAction(QStringLiteral("&Find"));
    find->setObjectName(QStringLiteral("actFind"));
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] {
        if (addFlag || editFlag) {
            QApplication::beep();
            return;
        }
        list->model()->prepareSearch();
        list->filter()->setFocus(Qt::ShortcutFocusReason);
        list->filter()->selectAll();
    });

    // The form scrolls where the screen is too small for it; the list sits beside it on a wide screen, above it on
    // a narrow one.
    auto* form = new QWidget;
    form->setObjectName(QStringLiteral("form"));
    auto* formLayout = new QVBoxLayout(form);
    formLayout->addLayout(grid);
    formLayout->addStretch(1);
    scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("formScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(form);
    for (size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    scroll->setMinimumHeight(90);
    const bool wide = ScreenFit::available(this).width() >= 1000;
    splitter = new QSplitter(wide ? Qt::Horizontal : Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(list);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, wide ? 2 : 1);
    splitter->setStretchFactor(1, wide ? 3 : 2);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(splitter, 1);
    layout->addWidget(lblNote);
    layout->addLayout(commands);
    layout->addLayout(navigation);

    SetButtons(true);
    if (rowCount() > 0)
        showRow(0);
    else
        showRow(-1);
}

void RecordEditor::showTaxpayerName(const QString& caption) {
    auto* name = new QLineEdit(context.taxpayerName, this);
    name->setObjectName(QStringLiteral("Text1"));
    name->setReadOnly(true);
    name->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(new QLabel(caption, this), grid->rowCount(), 0, Qt::AlignRight);
    grid->addWidget(name, grid->rowCount() - 1, 1);
}

RecordEditor::~RecordEditor() {
    model.reset();
}

void RecordEditor::loadModel() {
    model = EditorModel::open(*db, design.table, design.owner, design.sortColumn, design.descending);
}

void RecordEditor::fetchAll() {
    while (model->canFetchMore())
        model->fetchMore();
}

int RecordEditor::rowCount() {
    fetchAll();
    return model->rowCount();
}

int RecordEditor::columnOf(const QString& column) const {
    return model->fieldIndex(column);
}

const RecordEditor::Field* RecordEditor::fieldDesign(int index) const {
    for (const auto& f : design.fields)
        if (f.index == index)
            return &f;
    return nullptr;
}

const RecordEditor::Field* RecordEditor::fieldOf(const QLineEdit* edit) const {
    for (const auto& f : design.fields)
        if (fields.at(f.index) == edit)
            return &f;
    return nullptr;
}

// Pasted (or dropped) text goes through the keystroke filter character by character, as if it had been typed.
void RecordEditor::filterPaste(QLineEdit* edit, const QString& text) {
    const QString tag = edit->property("tag").toString();
    QString kept;
    for (const QChar c : text)
        if (const int r = DataEntryValidation(c.unicode(), tag))
            kept += QChar(r);
    if (kept == text)
        return;
    const int cursor = std::max(0, edit->cursorPosition() - int(text.size() - kept.size()));
    edit->setText(kept);
    edit->setModified(true);
    edit->setCursorPosition(std::min(cursor, int(kept.size())));
}

QLineEdit* RecordEditor::field(int index) const {
    const auto it = fields.find(index);
    return it == fields.end() ? nullptr : it->second;
}

QCheckBox* RecordEditor::check(int index) const {
    const auto it = checks.find(index);
    return it == checks.end() ? nullptr : it->second;
}

QString RecordEditor::statusText() const {
    return lblStatus->text();
}

QVariant RecordEditor::value(const QString& column) const {
    if (current < 0)
        return QVariant();
    return model->data(model->index(current, model->fieldIndex(column)));
}

void RecordEditor::setValue(const QString& column, const QVariant& v) {
    if (current >= 0)
        model->setData(model->index(current, columnOf(column)), v);
}

void RecordEditor::setFieldText(int index, const QString& text) {
    QLineEdit* e = field(index);
    const Field* f = fieldDesign(index);
    if (!e || !f)
        return;
    QVariant v;
    if (FieldText::parse(f->kind, text, f->maxLength, &v))
        exact[index] = v;
    e->setText(text);
    e->setCursorPosition(0);
}

void RecordEditor::showRow(int row) {
    current = row;
    for (const auto& f : design.fields) {
        const QVariant v = row >= 0 ? model->data(model->index(row, columnOf(f.column))) : QVariant();
        exact[f.index] = v;
        fields[f.index]->setText(FieldText::shown(f.kind, v));
        fields[f.index]->setModified(false);
        fields[f.index]->setCursorPosition(0); // a long text shows its beginning
    }
    for (const auto& ch : design.checks)
        checks[ch.index]->setChecked(row >= 0 && model->data(model->index(row, columnOf(ch.column))).toBool());
    list->showSourceRow(row);
    refreshStatus();
    if (!addFlag && !editFlag)
        buttons["cmdDelete"]->setEnabled(row >= 0);
    afterMove();
}

void RecordEditor::refreshStatus() {
    if (addFlag) {
        if (design.status != Status::None)
            lblStatus->setText(QStringLiteral("Add record"));
        return;
    }
    if (editFlag) {
        if (design.status != Status::None)
            lblStatus->setText(QStringLiteral("Edit record"));
        return;
    }
    if (design.status == Status::None)
        return;
    if (current < 0) {
        lblStatus->setText(emptyCaption);
        return;
    }
    const QString position = QString::number(current + 1);
    switch (design.status) {
    case Status::Record:
        lblStatus->setText(QStringLiteral("Record: ") + position);
        break;
    case Status::DepositRecord:
        lblStatus->setText(QStringLiteral("Deposit record: ") + position);
        break;
    case Status::RecordOfCount:
        lblStatus->setText(QStringLiteral("Record: ") + position + QStringLiteral(" of ") +
                           QString::number(rowCount()));
        break;
    case Status::None:
        break;
    }
}

void RecordEditor::message(const QString& text) {
    MessageBoxes::show(this, text);
}

void RecordEditor::note(const QString& text) {
    lblNote->setText(text);
}

QString RecordEditor::noteText() const {
    return lblNote->text();
}

void RecordEditor::SetButtons(bool browse) {
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdDelete", "cmdClose"})
        buttons[name]->setVisible(browse);
    for (const char* name : {"cmdUpdate", "cmdCancel"})
        buttons[name]->setVisible(!browse);
    for (const char* name : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast"})
        buttons[name]->setEnabled(browse);
    setTyping(!browse);
}

// While browsing, the fields show the record and take no input (typing into one starts the edit); the list is for
// choosing a record, so it rests while one is typed.
void RecordEditor::setTyping(bool on) {
    for (const auto& [index, edit] : fields)
        edit->setReadOnly(!on);
    list->setEnabled(!on);
    undoAction->setEnabled(!on && !deletedRows.empty());
    buttons["cmdDelete"]->setEnabled(current >= 0);
    if (on) {
        checkedAtStart.clear();
        for (const auto& [index, box] : checks)
            checkedAtStart[index] = box->isChecked();
        note(typingNote);
    } else if (lblNote->text() == typingNote) {
        note(browsingNote);
    }
    typingChanged(on);
}

bool RecordEditor::anythingTyped() const {
    if (addFlag)
        return true;
    for (const auto& [index, edit] : fields)
        if (edit->isModified())
            return true;
    for (const auto& [index, box] : checks)
        if (const auto it = checkedAtStart.find(index); it != checkedAtStart.end() && it->second != box->isChecked())
            return true;
    return false;
}

int RecordEditor::listRowOf(int row) const {
    return listModel->listRowOf(row);
}

int RecordEditor::rowAtList(int listRow) const {
    return listModel->sourceRowAt(listRow);
}

int RecordEditor::listCount() const {
    return listModel->rowCount();
}

void RecordEditor::moveInList(int listRow) {
    const int count = listCount();
    if (count == 0)
        return;
    showRow(rowAtList(std::clamp(listRow, 0, count - 1)));
}

void RecordEditor::add() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdAdd_Click"));
    if (addFlag || editFlag)
        return;
    savedPosition = rowCount() > 0 ? current : -1;
    const int row = rowCount();
    model->insertRow(row);
    addFlag = true;
    showRow(row);
    SetButtons(false);
    afterAdd();
    refreshStatus();
    focusFirstField();
}

void RecordEditor::reveal(QWidget* w) {
    QApplication::sendPostedEvents(); // the form's layout, with `w` in it
    if (QLayout* l = scroll->widget()->layout())
        l->activate();
    const int missing = scroll->widget()->sizeHint().height() - scroll->viewport()->height();
    if (missing > 0) {
        const QRect area = ScreenFit::available(this);
        const int room = area.bottom() - frameGeometry().bottom();
        if (room > 0)
            resize(width(), height() + std::min(missing, room));
        ScreenFit::fit(this);
    }
    QApplication::sendPostedEvents();
    scroll->ensureWidgetVisible(w);
}

void RecordEditor::focusFirstField() {
    if (firstInTab)
        firstInTab->setFocus();
}

void RecordEditor::edit() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdEdit_Click"));
    if (!beginTyping())
        return;
    focusFirstField();
}

bool RecordEditor::beginTyping() {
    if (addFlag || editFlag)
        return true;
    if (current < 0)
        return false;
    editFlag = true;
    refreshStatus();
    SetButtons(false);
    return true;
}

bool RecordEditor::typedValue(int index, QVariant* v) const {
    const QLineEdit* edit = field(index);
    const Field* f = fieldDesign(index);
    if (!edit || !f)
        return false;
    if (!edit->isModified()) {
        const auto it = exact.find(index);
        *v = it == exact.end() ? QVariant() : it->second;
        return true;
    }
    return FieldText::parse(f->kind, edit->text(), f->maxLength, v);
}

bool RecordEditor::fieldValues(std::vector<std::pair<const Field*, QVariant>>* values) {
    for (const auto& f : design.fields) {
        QLineEdit* edit = fields[f.index];
        const QString label = f.label.isEmpty() ? f.column : QString(f.label).remove(QLatin1Char(':'));
        QVariant v = exact[f.index];
        if (edit->isModified() && !FieldText::parse(f.kind, edit->text(), f.maxLength, &v)) {
            message(QStringLiteral("The %1 \"%2\" is not %3. Correct it, or cancel.")
                        .arg(label, edit->text(), kindName(f.kind)));
            return false;
        }
        if (f.required && (!v.isValid() || v.isNull() || v.toString().trimmed().isEmpty())) {
            message(QStringLiteral("The %1 is required. Enter it, or cancel.").arg(label));
            return false;
        }
        values->push_back({&f, v});
    }
    return true;
}

bool RecordEditor::save() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdUpdate_Click"));
    if (current < 0)
        return false;
    // Every field must hold a value of its kind; otherwise nothing of the row is written.
    std::vector<std::pair<const Field*, QVariant>> values;
    if (!fieldValues(&values))
        return false;
    if (!beforeSave())
        return false;
    // What the checks before the save may have corrected (a rate of 7 meant as 7 %) is what is written.
    values.clear();
    if (!fieldValues(&values))
        return false;
    const QVariant key = addFlag ? QVariant() : value(design.key);
    const int editedAt = current;
    for (const auto& [f, v] : values)
        if (v.isValid() || !f->keepWhenEmpty)
            setValue(f->column, v);
    for (const auto& ch : design.checks)
        setValue(ch.column, checks[ch.index]->isChecked() ? 1 : 0);
    // The row and what is written with it (an estimated-tax year's payments) go in one transaction. What goes with
    // it is written first: when either is refused, nothing is written and the model still holds the typed row.
    {
        bool submitted = false;
        try {
            Transaction t(*db);
            writeWithRecord();
            if (!model->submitAll())
                db->refused(QStringLiteral("write to"), model->lastError());
            submitted = true;
            t.commit();
        } catch (const StoreError& e) {
            if (e.kind() == StoreError::Kind::Changed) {
                // Someone else's change: nothing was written, and what was typed stays until the user chooses.
                if (MessageBoxes::ask(this, e.message())) {
                    reselect();
                    cancel();
                }
                return false;
            }
            message(e.message());
            if (submitted) {
                // Taken by the model, then not committed: the table as it is, and the typing ends.
                reselect();
                cancel();
            }
            return false;
        }
    }
    // Re-found by its key: a new row has the highest, since the store assigns keys in increasing order and never
    // reuses one.
    const QVariant wanted = addFlag ? EditorModel::highestKey(*db, design.table, design.key, design.owner) : key;
    int found = std::min(editedAt, rowCount() - 1);
    const int column = columnOf(design.key);
    for (int r = 0; r < rowCount(); ++r)
        if (model->data(model->index(r, column)) == wanted)
            found = r;
    addFlag = editFlag = false;
    savedPosition = -1;
    SetButtons(true);
    moveTo(found);
    // Never on Delete: one stray key there would delete the row just saved.
    buttons["cmdAdd"]->setFocus();
    afterSave();
    return true;
}

void RecordEditor::cancel() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdCancel_Click"));
    addFlag = editFlag = false;
    model->revertAll();
    SetButtons(true);
    moveTo(savedPosition >= 0 ? savedPosition : 0);
    savedPosition = -1;
    buttons["cmdAdd"]->setFocus();
}

QString RecordEditor::describeRow(int row) const {
    return QStringLiteral("the %1 %2").arg(design.noun.toLower(), listModel->rowText(row));
}

void RecordEditor::remove() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdDelete_Click"));
    if (current < 0 || addFlag || editFlag)
        return;
    if (!beforeRemove())
        return;
    const int at = listRowOf(current);
    const QString what = describeRow(current);
    const QSqlRecord kept = model->record(current);
    if (!removeRow(current))
        return;
    moveInList(at >= 0 ? at : 0);
    if (rowCount() == 0)
        showRow(-1);
    // Off the Delete button, so that a second key press does not delete the next row as well.
    buttons["cmdAdd"]->setFocus();
    if (design.undoableDeletes) {
        deletedRows.push_back(kept);
        undoAction->setEnabled(true);
        note(QStringLiteral("Deleted %1. Edit > Undo Delete (Ctrl+Z) brings it back.").arg(what));
    } else {
        note(QStringLiteral("Deleted %1.").arg(what));
    }
}

void RecordEditor::undoDelete() {
    if (deletedRows.empty() || addFlag || editFlag)
        return;
    const QSqlRecord row = deletedRows.back();
    // The row goes back with its own key, which the store never gave to another.
    if (!model->insertRecord(-1, row) || !model->submitAll()) {
        const QSqlError why = model->lastError();
        model->revertAll();
        db->refused(QStringLiteral("write to"), why);
    }
    deletedRows.pop_back();
    undoAction->setEnabled(!deletedRows.empty());
    const QVariant key = row.value(design.key);
    const int column = columnOf(design.key);
    int found = -1;
    for (int r = 0; r < rowCount(); ++r)
        if (model->data(model->index(r, column)) == key)
            found = r;
    showRow(found >= 0 ? found : (rowCount() > 0 ? 0 : -1));
    note(QStringLiteral("Brought back %1.").arg(describeRow(found >= 0 ? found : current)));
    list->view()->setFocus();
}

bool RecordEditor::removeRow(int row) {
    model->removeRow(row);
    if (!model->submitAll()) {
        const QSqlError why = model->lastError();
        model->revertAll();
        try {
            db->refused(QStringLiteral("write to"), why);
        } catch (const StoreError& e) {
            message(e.message());
        }
        return false;
    }
    return true;
}

void RecordEditor::reselect() {
    if (!model->select())
        db->refused(QStringLiteral("read from"), model->lastError());
}

void RecordEditor::moveTo(int row) {
    const int count = rowCount();
    showRow(count == 0 ? -1 : std::clamp(row, 0, count - 1));
}

void RecordEditor::first() {
    if (!addFlag && !editFlag)
        moveInList(0);
}
void RecordEditor::last() {
    if (!addFlag && !editFlag)
        moveInList(listCount() - 1);
}

void RecordEditor::next() {
    if (addFlag || editFlag || listCount() == 0)
        return;
    const int at = listRowOf(current);
    if (at + 1 >= listCount()) {
        QApplication::beep();
        moveInList(listCount() - 1);
        return;
    }
    moveInList(at + 1);
}

void RecordEditor::previous() {
    if (addFlag || editFlag || listCount() == 0)
        return;
    const int at = listRowOf(current);
    if (at == 0) {
        QApplication::beep();
        moveInList(0);
        return;
    }
    moveInList(at < 0 ? 0 : at - 1);
}

namespace {

// Whether a key changes the text of the field it is typed into.
bool editsText(const QKeyEvent* key) {
    if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
        key->matches(QKeySequence::DeleteEndOfWord) || key->matches(QKeySequence::DeleteStartOfWord))
        return true;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    return !key->text().isEmpty() && key->text().at(0).isPrint();
}

} // namespace

bool RecordEditor::handleKey(QObject* watched, QKeyEvent* key) {
    const bool typing = addFlag || editFlag;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    // A list and a text field keep the keys they move within themselves by.
    const bool list = qobject_cast<QAbstractItemView*>(watched) != nullptr;
    const bool text = qobject_cast<QLineEdit*>(watched) != nullptr;
    if (ctrl) {
        switch (key->key()) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // Record navigation, while browsing; not while a record is being typed.
            if (typing) {
                QApplication::beep();
                return true;
            }
            if (key->key() == Qt::Key_Home)
                first();
            else if (key->key() == Qt::Key_End)
                last();
            else if (key->key() == Qt::Key_PageUp)
                previous();
            else
                next();
            return true;
        case Qt::Key_S:
            if (typing)
                buttons["cmdUpdate"]->click();
            return true;
        default:
            break;
        }
    }
    if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (!typing) {
            close();
        } else if (!anythingTyped() || MessageBoxes::ask(this, cancelQuestion)) {
            cancel();
        }
        return true;
    }
    // In the list of records, whose rows are whole records, Home and End go to the first and the last, as in any
    // list (the table would otherwise move between the columns of a row).
    if (!typing && watched == this->list->view() && mods == Qt::NoModifier &&
        (key->key() == Qt::Key_Home || key->key() == Qt::Key_End)) {
        key->key() == Qt::Key_Home ? first() : last();
        return true;
    }
    // Up and Down step through the records from the form's buttons and boxes while browsing.
    if (!typing && !list && !text && mods == Qt::NoModifier &&
        (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        key->key() == Qt::Key_Up ? previous() : next();
        return true;
    }
    return false;
}

bool RecordEditor::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const bool isField = edit && fieldOf(edit);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(watched, key))
            return true;
        if (isField && editsText(key) && !addFlag && !editFlag) {
            // Typing into the record shown starts its edit; without a record there is nothing to type into.
            if (!beginTyping()) {
                QApplication::beep();
                note(QStringLiteral("There is no record to change. Click Add to create one."));
                return true;
            }
        }
        if (isField && !key->text().isEmpty() && key->text().at(0).isPrint()) {
            const int typed = key->text().at(0).unicode();
            const int result = DataEntryValidation(typed, edit->property("tag").toString());
            if (result == 0)
                return true;
            if (result != typed) {
                edit->insert(QString(QChar(result)));
                return true;
            }
        }
    } else if (auto* box = qobject_cast<QCheckBox*>(watched); box && !addFlag && !editFlag) {
        // Ticking a box of the record shown starts its edit too.
        const bool clicks =
            (event->type() == QEvent::MouseButtonPress &&
             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) ||
            (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space);
        const bool boxOfForm =
            std::any_of(checks.begin(), checks.end(), [box](const auto& c) { return c.second == box; });
        if (clicks && boxOfForm && !beginTyping()) {
            QApplication::beep();
            return true;
        }
    } else if (isField && event->type() == QEvent::FocusIn) {
        const Field* f = fieldOf(edit);
        // Amounts and rates show more digits while being edited; an untouched field stands for its value still.
        if (f && (f->kind == FieldKind::Rate || f->kind == FieldKind::Money) && !edit->isModified())
            edit->setText(FieldText::editing(f->kind, exact[f->index]));
    } else if (isField && event->type() == QEvent::FocusOut) {
        // A completer's list opening, or another window taking the keyboard for a moment, is no leaving of the
        // field: what is being typed stays as it is, the cursor where it was.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return QDialog::eventFilter(watched, event);
        if (const Field* f = fieldOf(edit)) {
            // An amount left empty is zero; a value the record needs is asked for at Save instead.
            if (edit->text().isEmpty() && f->tag == QLatin1String("Num") && !f->required && (addFlag || editFlag)) {
                exact[f->index] = 0.0;
                edit->setText(f->kind == FieldKind::Text ? QStringLiteral("0.00") : FieldText::shown(f->kind, 0.0));
            } else if (edit->isModified()) {
                // What was typed is the value; the field shows it in its display form from now on.
                QVariant v;
                if (FieldText::parse(f->kind, edit->text(), f->maxLength, &v)) {
                    exact[f->index] = v;
                    if (f->kind != FieldKind::Text && v.isValid())
                        edit->setText(FieldText::shown(f->kind, v));
                }
            } else if (f->kind != FieldKind::Text) {
                edit->setText(FieldText::shown(f->kind, exact[f->index]));
            }
            edit->setCursorPosition(0);
            fieldLeft(f->index);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RecordEditor::keyPressEvent(QKeyEvent* event) {
    if (handleKey(this, event))
        return;
    QDialog::keyPressEvent(event);
}

void RecordEditor::showEvent(QShowEvent* event) {
    // Every control the user can reach takes the editor's keys, not only the bound fields.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    if (!placed) {
        // As large as the form and the list want, as far as the screen allows; the form scrolls beyond that.
        placed = true;
        layout()->activate();
        const QSize form = scroll->widget()->sizeHint();
        const QSize rest = sizeHint();
        int listWidth = 0;
        for (int c = 0; c < listModel->columnCount(); ++c)
            listWidth += list->view()->horizontalHeader()->sectionSize(c);
        listWidth += list->view()->verticalScrollBar()->sizeHint().width() + 8;
        QSize wanted;
        if (splitter->orientation() == Qt::Horizontal)
            wanted = QSize(std::max(rest.width(), std::min(listWidth, 520) + form.width() + 40),
                           std::max(rest.height(), form.height() + rest.height() - scroll->sizeHint().height()));
        else
            wanted = QSize(std::max({rest.width(), form.width() + 40, 560}),
                           rest.height() + form.height() - scroll->sizeHint().height() + 160);
        const QRect area = ScreenFit::available(this);
        resize(wanted.boundedTo(area.size() - QSize(8, 40)).expandedTo(minimumSizeHint()));
        // Above the form, the list takes two fifths of the height, so that it shows a handful of rows even when the
        // form has to scroll.
        const int listHeight = std::max(150, splitter->height() * 2 / 5);
        splitter->setSizes(splitter->orientation() == Qt::Horizontal
                               ? QList<int>{std::min(listWidth, 520), form.width() + 20}
                               : QList<int>{listHeight, std::max(1, splitter->height() - listHeight)});
        // The window opens on its list, where the arrow keys go through the records (Ctrl+F finds), or on Add when
        // there is nothing to list.
        if (rowCount() > 0)
            list->view()->setFocus(Qt::OtherFocusReason);
        else
            buttons["cmdAdd"]->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
    ScreenFit::fit(this);
}

void RecordEditor::closeEvent(QCloseEvent* event) {
    if (addFlag || editFlag) {
        if (anythingTyped() && !MessageBoxes::ask(this, dropQuestion)) {
            event->ignore();
            return;
        }
        cancel();
    }
    QDialog::closeEvent(event);
}

void RecordEditor::reject() {
    // Escape reaching the dialog itself, or the window's close, while typing: asked as closing is.
    if (addFlag || editFlag) {
        close();
        return;
    }
    if (!handedBack) {
        handedBack = true;
        emit closedEditor();
    }
    QDialog::reject();
}

void RecordEditor::showHistory() {
    auto* server = dynamic_cast<PostgresDatabase*>(db.get());
    const int number = value(Columns::taxpayerNumber).toInt();
    if (!server || number <= 0)
        return;
    const auto changes = server->history(number);
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("frmHistory"));
    dialog.setWindowTitle(QStringLiteral("History of Taxpayer %1").arg(number));
    auto* table = new QTableWidget(int(changes.size()), 6, &dialog);
    table->setObjectName(QStringLiteral("grdHistory"));
    table->setHorizontalHeaderLabels({QStringLiteral("When"), QStringLiteral("Who"), QStringLiteral("What"),
                                      QStringLiteral("Table"), QStringLiteral("Before"), QStringLiteral("After")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < int(changes.size()); ++r) {
        const auto& c = changes[size_t(r)];
        const QStringList cells = {c.at.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss")),
                                   c.by,
                                   c.operation,
                                   c.table + (c.row ? QStringLiteral(" row %1").arg(*c.row) : QString()),
                                   c.before,
                                   c.after};
        for (int col = 0; col < cells.size(); ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            item->setToolTip(cells[col]);
            table->setItem(r, col, item);
        }
    }
    table->resizeColumnsToContents();
    for (int col = 4; col < 6; ++col)
        table->setColumnWidth(col, std::min(table->columnWidth(col), 400));
    auto* close = new QPushButton(QStringLiteral("Cl&ose"), &dialog);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    if (changes.empty())
        layout->addWidget(new QLabel(QStringLiteral("The server has recorded no change of this taxpayer."), &dialog));
    layout->addWidget(table, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    dialog.resize(900, 420);
    table->setFocus();
    dialog.exec();
}
