#include "TranscriptDialog.h"

#include "Clock.h"
#include "StoreError.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

// The plan's steps as a table model: a transcript of 100,000 lines is shown without a widget a line.
class StepModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void set(const std::vector<TranscriptImport::Step>* given) {
        beginResetModel();
        rows = given;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() || !rows ? 0 : int(rows->size());
    }
    int columnCount(const QModelIndex& = QModelIndex()) const override { return 3; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!rows || index.row() >= int(rows->size()))
            return QVariant();
        const auto& s = (*rows)[size_t(index.row())];
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            switch (index.column()) {
            case 0:
                return s.line;
            case 1:
                return s.text;
            default:
                return s.does;
            }
        }
        if (role == Qt::FontRole && index.column() == 1)
            return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (role == Qt::FontRole && s.leftOut) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole)
            return QVariant();
        static const char* names[] = {"Line", "Transcript", "What The Import Does"};
        return QString::fromLatin1(names[section]);
    }

private:
    const std::vector<TranscriptImport::Step>* rows = nullptr;
};

TranscriptDialog::TranscriptDialog(const QString& f, Transcript::Account a, TranscriptRules::Rules r,
                                   std::vector<Holiday> h, std::optional<TaxpayerCase> s, QWidget* parent)
    : QDialog(parent), file(f), account(std::move(a)), rules(std::move(r)), holidays(std::move(h)),
      selected(std::move(s)) {
    setObjectName(QStringLiteral("frmTranscriptImport"));
    setWindowTitle(QStringLiteral("Import IRS Account Transcript: %1").arg(QFileInfo(file).fileName()));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("lblSummary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);

    model = new StepModel(this);
    steps = new QTableView(this);
    steps->setObjectName(QStringLiteral("grdLines"));
    steps->setModel(model);
    steps->setSelectionBehavior(QAbstractItemView::SelectRows);
    steps->setEditTriggers(QAbstractItemView::NoEditTriggers);
    steps->verticalHeader()->hide();
    steps->verticalHeader()->setDefaultSectionSize(steps->fontMetrics().height() + 6);
    steps->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    steps->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Interactive);
    steps->horizontalHeader()->setStretchLastSection(true);
    // The transcript's columns as wide as its longest line, up to a point; the rest of a line is in the detail.
    qsizetype longest = 40;
    for (const auto& l : account.lines)
        longest = std::max(longest, l.text.size());
    const int wanted = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont)).horizontalAdvance('M') *
                           int(std::min<qsizetype>(longest + 2, 100)) +
                       24;
    // On a small screen the transcript takes half of it, so that what the import does stays in view.
    const int half = screen() ? screen()->availableGeometry().width() / 2 : wanted;
    steps->setColumnWidth(1, std::min(wanted, half));
    layout->addWidget(steps, 1);
    detail = new QLabel(this);
    detail->setObjectName(QStringLiteral("lblDetail"));
    detail->setWordWrap(true);
    detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detail->setMinimumHeight(detail->fontMetrics().height() * 3);
    detail->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(detail);

    auto* notesLabel = new QLabel(QStringLiteral("&To look at after the import:"), this);
    notes = new QPlainTextEdit(this);
    notes->setObjectName(QStringLiteral("txtNotes"));
    notes->setReadOnly(true);
    notes->setMaximumHeight(notes->fontMetrics().height() * 5);
    notesLabel->setBuddy(notes);
    layout->addWidget(notesLabel);
    layout->addWidget(notes);

    auto* where = new QHBoxLayout;
    addToSelected = new QCheckBox(this);
    addToSelected->setObjectName(QStringLiteral("chkAddToSelected"));
    if (selected)
        addToSelected->setText(
            QStringLiteral("&Add to the selected taxpayer %1 (%2)").arg(selected->number).arg(selected->name));
    else
        addToSelected->setText(QStringLiteral("&Add to the selected taxpayer (none is selected)"));
    addToSelected->setEnabled(selected.has_value());
    where->addWidget(addToSelected);
    where->addStretch();
    auto* clientLabel = new QLabel(QStringLiteral("&Client code of the new case:"), this);
    client = new QLineEdit(this);
    client->setObjectName(QStringLiteral("txtClientCode"));
    client->setMaxLength(50);
    clientLabel->setBuddy(client);
    where->addWidget(clientLabel);
    where->addWidget(client);
    layout->addLayout(where);

    auto* buttons = new QDialogButtonBox(this);
    importButton = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    importButton->setObjectName(QStringLiteral("cmdImport"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter in the list never writes: Import is chosen by its button or Alt+I.
    importButton->setAutoDefault(false);
    cancel->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(addToSelected, &QCheckBox::toggled, this, [this] { replan(); });
    connect(steps->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& at) {
        if (!current || !at.isValid() || size_t(at.row()) >= current->steps.size()) {
            detail->clear();
            return;
        }
        const auto& s = current->steps[size_t(at.row())];
        detail->setText(QStringLiteral("Line %1: %2\n%3").arg(s.line).arg(s.text.trimmed(), s.does));
    });
    resize(1240, 700);
    replan();
    steps->setFocus();
}

QString TranscriptDialog::clientCode() const {
    return addToSelected->isChecked() ? QString() : client->text().trimmed();
}

void TranscriptDialog::setAddToSelected(bool on) {
    addToSelected->setChecked(on && selected);
}

void TranscriptDialog::replan() {
    const bool into = addToSelected->isChecked() && selected;
    client->setEnabled(!into);
    current.reset();
    model->set(nullptr);
    detail->clear();
    QStringList lookAt;
    try {
        current = TranscriptImport::plan(account, rules, holidays, into ? selected : std::nullopt,
                                         QFileInfo(file).fileName(), Clock::today());
    } catch (const StoreError& e) {
        summary->setText(QStringLiteral("This transcript cannot be imported so: %1").arg(e.message()));
        notes->setPlainText(into ? QStringLiteral("Clear \"Add to the selected taxpayer\" to import it as a new case.")
                                 : QString());
        importButton->setEnabled(false);
        return;
    }
    model->set(&current->steps);
    const int left = current->leftOut();
    summary->setText(QStringLiteral("Form %1, tax period ending %2 (return due %3): %4 transactions, %5 left out. %6 "
                                    "Nothing is written until you choose Import.")
                         .arg(account.formNumber, account.taxPeriod.toString(QStringLiteral("MM/dd/yyyy")),
                              current->made.originalDueDate.toString(QStringLiteral("MM/dd/yyyy")))
                         .arg(current->transactions())
                         .arg(left)
                         .arg(into ? QStringLiteral("It is added to taxpayer %1.").arg(selected->number)
                                   : QStringLiteral("It makes a new case.")));
    if (!current->unknownCodes.isEmpty())
        lookAt << QStringLiteral("Not in the table of transaction codes, left out: ") +
                      current->unknownCodes.join(QStringLiteral(", "));
    lookAt << current->notes;
    notes->setPlainText(lookAt.join(QLatin1Char('\n')));
    importButton->setEnabled(true);
}
