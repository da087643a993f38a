#include "ReliefDialog.h"

#include "PenaltyRelief.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ReliefDialog::ReliefDialog(const QString& taxpayerName, const QDate& endDate, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPenaltyRelief"));
    setWindowTitle(QStringLiteral("Penalty Relief: %1").arg(taxpayerName));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    at = new QLineEdit(endDate.toString(QStringLiteral("MM/dd/yyyy")), this);
    at->setObjectName(QStringLiteral("txtDate"));
    at->setPlaceholderText(QStringLiteral("mm/dd/yyyy"));
    form->addRow(QStringLiteral("Balance &at:"), at);
    layout->addLayout(form);
    auto* label = new QLabel(QStringLiteral("First-time abatement (IRM 20.1.1.3.3.2.1): &tick each condition the "
                                            "taxpayer meets (Space ticks the one selected)."),
                             this);
    label->setWordWrap(true);
    layout->addWidget(label);
    checklist = new QListWidget(this);
    checklist->setObjectName(QStringLiteral("lstConditions"));
    checklist->setWordWrap(true);
    checklist->setSpacing(2);
    for (const QString& condition : PenaltyRelief::conditions()) {
        auto* item = new QListWidgetItem(condition, checklist);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    label->setBuddy(checklist);
    layout->addWidget(checklist, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* report = buttons->addButton(QStringLiteral("&Report"), QDialogButtonBox::ActionRole);
    report->setObjectName(QStringLiteral("cmdReport"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    report->setDefault(true);
    layout->addWidget(buttons);
    connect(report, &QPushButton::clicked, this, &ReliefDialog::reportWanted);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(620, 420);
    at->setFocus();
}

QString ReliefDialog::typedDate() const {
    return at->text();
}

QDate ReliefDialog::date() const {
    const QString t = at->text().trimmed();
    const QDate d = QDate::fromString(t, QStringLiteral("MM/dd/yyyy"));
    return d.isValid() ? d : QDate::fromString(t, QStringLiteral("M/d/yyyy"));
}

std::vector<bool> ReliefDialog::ticked() const {
    std::vector<bool> out;
    for (int i = 0; i < checklist->count(); ++i)
        out.push_back(checklist->item(i)->checkState() == Qt::Checked);
    return out;
}
