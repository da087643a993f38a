#include "RecordEditor.h"

#include "DataEntryValidation.h"
#include "EditorModel.h"
#include "ErrorHandler.h"
#include "MessageBoxes.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "SqliteDatabase.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace {

const QString notice = QStringLiteral("Before making changes to existing data, be sure to click on Edit; otherwise the "
                                      "changes will appear to save, but will not carry to other forms.");
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

    db = std::make_unique<SqliteDatabase>(Settings::databasePath(context.newpath));
    loadModel();

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
    QWidget* previousInTab = nullptr;
    auto tabAfter = [this, &previousInTab](QWidget* w) {
        if (previousInTab)
            QWidget::setTabOrder(previousInTab, w);
        else if (qobject_cast<QLineEdit*>(w))
            firstInTab = w;
        previousInTab = w;
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

    auto* noticeLabel = new QLabel(notice, this);
    noticeLabel->setObjectName(QStringLiteral("lblNotice"));
    noticeLabel->setWordWrap(true);
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
    commands->addWidget(button("cmdClose", "&Close", QString(), [this] { close(); }));

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(button("cmdFirst", "|<", "First", [this] { first(); }));
    navigation->addWidget(button("cmdPrevious", "<", "Previous", [this] { previous(); }));
    navigation->addWidget(lblStatus, 1);
    navigation->addWidget(button("cmdNext", ">", "Next", [this] { next(); }));
    navigation->addWidget(button("cmdLast", ">|", "Last", [this] { last(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(noticeLabel);
    layout->addLayout(commands);
    layout->addLayout(navigation);
    setMinimumWidth(560);

    SetButtons(true);
    adjustSize();
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
        fields[f.index]->setCursorPosition(0); // a long text shows its beginning
    }
    for (const auto& ch : design.checks)
        checks[ch.index]->setChecked(row >= 0 && model->data(model->index(row, columnOf(ch.column))).toBool());
    refreshStatus();
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

void RecordEditor::SetButtons(bool browse) {
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdDelete", "cmdClose"})
        buttons[name]->setVisible(browse);
    for (const char* name : {"cmdUpdate", "cmdCancel"})
        buttons[name]->setVisible(!browse);
    for (const char* name : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast"})
        buttons[name]->setEnabled(browse);
}

void RecordEditor::moveTo(int row) {
    const int count = rowCount();
    showRow(count == 0 ? -1 : std::clamp(row, 0, count - 1));
}

void RecordEditor::add() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdAdd_Click"));
    savedPosition = rowCount() > 0 ? current : -1;
    const int row = rowCount();
    model->insertRow(row);
    addFlag = true;
    showRow(row);
    SetButtons(false);
    afterAdd();
    focusFirstField();
}

void RecordEditor::focusFirstField() {
    if (firstInTab)
        firstInTab->setFocus();
}

void RecordEditor::edit() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdEdit_Click"));
    if (current < 0)
        return;
    editFlag = true;
    refreshStatus();
    SetButtons(false);
    focusFirstField();
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
    const QVariant key = addFlag ? QVariant() : value(design.key);
    const int editedAt = current;
    for (const auto& [f, v] : values)
        if (v.isValid() || !f->keepWhenEmpty)
            setValue(f->column, v);
    for (const auto& ch : design.checks)
        setValue(ch.column, checks[ch.index]->isChecked() ? 1 : 0);
    if (!model->submitAll()) {
        const QString why = model->lastError().text();
        message(why.isEmpty() ? QStringLiteral("To make changes to a new record, first close the input screen and then "
                                               "reopen it.")
                              : why);
        return false;
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
    SetButtons(true);
    addFlag = editFlag = false;
    model->revertAll();
    moveTo(savedPosition >= 0 ? savedPosition : 0);
    savedPosition = -1;
    buttons["cmdAdd"]->setFocus();
}

void RecordEditor::remove() {
    SectionTrail::enter(objectName() + QStringLiteral(".cmdDelete_Click"));
    if (current < 0) {
        message(QStringLiteral("All the records have been deleted."));
        return;
    }
    if (!beforeRemove())
        return;
    const int at = current;
    if (!removeRow(at))
        return;
    moveTo(at);
    // Off the Delete button, so that a second key press does not delete the next row as well.
    buttons["cmdAdd"]->setFocus();
    if (rowCount() == 0)
        message(QStringLiteral("All the records have been deleted."));
}

bool RecordEditor::removeRow(int row) {
    model->removeRow(row);
    if (!model->submitAll()) {
        message(model->lastError().text());
        model->revertAll();
        return false;
    }
    return true;
}

void RecordEditor::reselect() {
    if (!model->select())
        throw std::runtime_error(model->lastError().text().toStdString());
}

void RecordEditor::first() {
    moveTo(0);
}
void RecordEditor::last() {
    moveTo(rowCount() - 1);
}

void RecordEditor::next() {
    const int count = rowCount();
    if (count == 0)
        return;
    if (current + 1 >= count) {
        QApplication::beep();
        moveTo(count - 1);
        return;
    }
    moveTo(current + 1);
}

void RecordEditor::previous() {
    if (rowCount() == 0)
        return;
    if (current <= 0) {
        QApplication::beep();
        moveTo(0);
        return;
    }
    moveTo(current - 1);
}

bool RecordEditor::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A list keeps the keys it moves within itself by.
        const bool list = qobject_cast<QAbstractItemView*>(watched) != nullptr;
        // The window sees keys before its controls: navigation while browsing.
        if (!addFlag && !editFlag) {
            const bool ctrlOnly = key->modifiers() == Qt::ControlModifier;
            switch (key->key()) {
            case Qt::Key_Escape:
                close();
                return true;
            case Qt::Key_End:
                if (list)
                    break;
                last();
                return true;
            case Qt::Key_Home:
                if (list)
                    break;
                first();
                return true;
            case Qt::Key_Up:
            case Qt::Key_PageUp:
                if (list)
                    break;
                ctrlOnly ? first() : previous();
                return true;
            case Qt::Key_Down:
            case Qt::Key_PageDown:
                if (list)
                    break;
                ctrlOnly ? last() : next();
                return true;
            default:
                break;
            }
        } else if (key->key() == Qt::Key_Escape) {
            return true; // no closing while a row is being changed
        }
        if (edit && !key->text().isEmpty() && key->text().at(0).isPrint()) {
            const int typed = key->text().at(0).unicode();
            const int result = DataEntryValidation(typed, edit->property("tag").toString());
            if (result == 0)
                return true;
            if (result != typed) {
                edit->insert(QString(QChar(result)));
                return true;
            }
        }
    } else if (edit && event->type() == QEvent::FocusIn) {
        const Field* f = fieldOf(edit);
        // Amounts and rates show more digits while being edited; an untouched field stands for its value still.
        if (f && (f->kind == FieldKind::Rate || f->kind == FieldKind::Money) && !edit->isModified())
            edit->setText(FieldText::editing(f->kind, exact[f->index]));
    } else if (edit && event->type() == QEvent::FocusOut) {
        if (const Field* f = fieldOf(edit)) {
            if (edit->text().isEmpty() && f->tag == QLatin1String("Num")) {
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

void RecordEditor::showEvent(QShowEvent* event) {
    // Every control the user can reach takes the navigation keys, not only the bound fields (a list keeps the keys
    // it needs itself).
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    QDialog::showEvent(event);
}

void RecordEditor::closeEvent(QCloseEvent* event) {
    if (addFlag || editFlag) {
        if (!MessageBoxes::ask(this, dropQuestion)) {
            event->ignore();
            return;
        }
        cancel();
    }
    QDialog::closeEvent(event);
}

void RecordEditor::reject() {
    if (addFlag || editFlag)
        return;
    if (!handedBack) {
        handedBack = true;
        emit closedEditor();
    }
    QDialog::reject();
}
