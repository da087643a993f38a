#include "NettingDialog.h"

#include "MoneyText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString returnLabel(const std::vector<TaxpayerCase>& cases, size_t index) {
    return QStringLiteral("%1 %2").arg(cases[index].number).arg(cases[index].name);
}

} // namespace

NettingDialog::NettingDialog(QString code, std::vector<TaxpayerCase> given, RunReporter& r, QWidget* parent)
    : QDialog(parent), clientCode(std::move(code)), cases(std::move(given)), reporter(r) {
    setObjectName(QStringLiteral("frmNetting"));
    setWindowTitle(QStringLiteral("Interest Netting: client %1").arg(clientCode));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* heading = new QLabel(
        QStringLiteral("Client %1, %2 return(s), each calculated to its own End Date. The pairs of returns whose "
                       "underpayment and overpayment overlap, and how each pair is netted:")
            .arg(clientCode)
            .arg(cases.size()),
        this);
    heading->setWordWrap(true);
    pairs = new QTableWidget(0, 4, this);
    pairs->setObjectName(QStringLiteral("lstPairs"));
    pairs->setHorizontalHeaderLabels({QStringLiteral("Underpayment Return"), QStringLiteral("Overpayment Return"),
                                      QStringLiteral("Days"), QStringLiteral("Method")});
    pairs->verticalHeader()->hide();
    pairs->setSelectionBehavior(QAbstractItemView::SelectRows);
    pairs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pairs->horizontalHeader()->setStretchLastSection(true);
    benefit = new QLabel(this);
    benefit->setObjectName(QStringLiteral("lblBenefit"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* report = buttons->addButton(QStringLiteral("&Show Report"), QDialogButtonBox::ActionRole);
    report->setObjectName(QStringLiteral("cmdReport"));
    QPushButton* claim = buttons->addButton(QStringLiteral("Save &Claim Text…"), QDialogButtonBox::ActionRole);
    claim->setObjectName(QStringLiteral("cmdClaim"));
    QPushButton* close = buttons->addButton(QStringLiteral("Cl&ose"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(report, &QPushButton::clicked, this, &NettingDialog::reportWanted);
    connect(claim, &QPushButton::clicked, this, &NettingDialog::claimWanted);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(pairs, 1);
    layout->addWidget(benefit);
    layout->addWidget(buttons);
    report->setDefault(true);
    resize(760, 380);
}

bool NettingDialog::recompute() {
    const auto choice = [this](int under, int over) -> std::optional<Netting::Method> {
        const auto it = choices.find({under, over});
        return it == choices.end() ? std::nullopt : std::optional<Netting::Method>(it->second);
    };
    NettingRun::Result result;
    if (NettingRun(reporter).run(clientCode, cases, &result, choice) != RunOutcome::Written)
        return false;
    current = std::move(result);
    benefit->setText(QStringLiteral("Netting benefit: %1").arg(groupedDecimal(current.benefit.cents(), 2)));
    fillPairs();
    return true;
}

void NettingDialog::choose(int under, int over, std::optional<Netting::Method> method) {
    if (method)
        choices[{under, over}] = *method;
    else
        choices.erase({under, over});
    recompute();
    // The list of the pair just chosen keeps the focus, for the next key.
    for (int row = 0; row < pairs->rowCount(); ++row) {
        const QTableWidgetItem* u = pairs->item(row, 0);
        const QTableWidgetItem* o = pairs->item(row, 1);
        if (u && o && u->text().startsWith(QString::number(under) + QLatin1Char(' ')) &&
            o->text().startsWith(QString::number(over) + QLatin1Char(' ')))
            if (QWidget* box = pairs->cellWidget(row, 3)) {
                pairs->setCurrentCell(row, 3);
                box->setFocus();
            }
    }
}

// One row a pair of returns, with the days of all its overlaps and a choice of method: the IRS's way (named), or
// either method.
void NettingDialog::fillPairs() {
    struct Pair {
        size_t under, over;
        int days = 0;
        Netting::Method method;
        bool chosen;
    };
    std::vector<Pair> list;
    for (const auto& o : current.overlaps) {
        const auto& v = o.overlap;
        auto it = std::find_if(list.begin(), list.end(),
                               [&v](const Pair& p) { return p.under == v.under && p.over == v.over; });
        if (it == list.end()) {
            list.push_back({v.under, v.over, 0, v.method, v.chosen});
            it = list.end() - 1;
        }
        it->days += v.days();
    }
    const QModelIndex kept = pairs->currentIndex();
    pairs->setRowCount(int(list.size()));
    for (int row = 0; row < int(list.size()); ++row) {
        const Pair& p = list[size_t(row)];
        pairs->setItem(row, 0, new QTableWidgetItem(returnLabel(cases, p.under)));
        pairs->setItem(row, 1, new QTableWidgetItem(returnLabel(cases, p.over)));
        auto* days = new QTableWidgetItem(QString::number(p.days));
        days->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pairs->setItem(row, 2, days);
        using M = Netting::Method;
        // The IRS's way is the method as found when nothing is chosen, the other one otherwise.
        const M irs = p.chosen ? (p.method == M::UnderpaymentAtOverpaymentRate ? M::OverpaymentAtUnderpaymentRate
                                                                               : M::UnderpaymentAtOverpaymentRate)
                               : p.method;
        auto* box = new QComboBox(pairs);
        box->addItem(QStringLiteral("The IRS's way: ") + Netting::methodText(irs).toLower());
        const M other = irs == M::UnderpaymentAtOverpaymentRate ? M::OverpaymentAtUnderpaymentRate
                                                                : M::UnderpaymentAtOverpaymentRate;
        box->addItem(QStringLiteral("Instead: ") + Netting::methodText(other).toLower());
        box->setCurrentIndex(p.chosen ? 1 : 0);
        const int under = cases[p.under].number;
        const int over = cases[p.over].number;
        connect(box, &QComboBox::activated, this, [this, under, over, other](int index) {
            choose(under, over, index == 1 ? std::optional<Netting::Method>(other) : std::nullopt);
        });
        pairs->setCellWidget(row, 3, box);
    }
    if (list.empty()) {
        pairs->setRowCount(1);
        auto* none = new QTableWidgetItem(QStringLiteral("No overlapping periods: on no day did one return bear "
                                                         "underpayment interest while another earned overpayment "
                                                         "interest."));
        pairs->setItem(0, 0, none);
        pairs->setSpan(0, 0, 1, 4);
    }
    pairs->resizeColumnsToContents();
    if (kept.isValid() && kept.row() < pairs->rowCount())
        pairs->setCurrentIndex(kept);
}
