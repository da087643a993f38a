#include "Editors.h"

#include "CalculationRun.h"
#include "CaseReader.h"
#include "DateMath.h"
#include "MessageBoxes.h"
#include "MoneyText.h"
#include "Names.h"
#include "RateCheck.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "Schema.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"

#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

using F = RecordEditor::Field;
using K = FieldKind;

namespace {

// A date as a field or the table holds it: "yyyy-mm-dd", or a date.
QDate dateOf(const QVariant& v) {
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    return DateMath::fromIso(v.toString());
}

// A field's text as the form holds it, read as an amount to the cent (thousands separators allowed).
Money moneyOf(const QLineEdit* field) {
    QVariant v;
    if (!FieldText::parse(FieldKind::Money, field->text(), 0, &v))
        throw std::runtime_error(QStringLiteral("\"%1\" is not a number.").arg(field->text()).toStdString());
    return Money::fromDollars(v.toDouble());
}

RecordEditor::Design taxpayerDesign() {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmBasicTaxpayerData");
    s.history = true;
    s.caption = QStringLiteral("Basic Taxpayer Data & Situation Profile");
    s.noun = QStringLiteral("Taxpayer");
    s.table = Tables::basicTaxpayerData;
    s.key = Columns::taxpayerNumber;
    s.status = RecordEditor::Status::None;
    s.list = {{Columns::taxpayerNumber, "Number", K::Text},
              {Columns::taxpayerName, "Taxpayer Name", K::Text},
              {Columns::clientCode, "Client", K::Text},
              {Columns::originalDueDateOfReturn, "Original Due Date", K::Date},
              {Columns::endDate, "End Date", K::Date}};
    s.plural = QStringLiteral("taxpayers");
    // A taxpayer goes with all its rows: asked first, with every kind of row named.
    s.undoableDeletes = false;
    s.layout = {"Basic Taxpayer Data Relevant To All Types Of Taxes",
                "f0",
                "f96",
                "f3",
                "f95",
                "f9",
                "f92",
                "@endDateWarning",
                "f4",
                "c15",
                "c20",
                "f21",
                "Payroll Tax Deposit Penalty",
                "c13",
                "f1",
                "Penalties That Apply To Both Income & Payroll Tax",
                "c10",
                "c11",
                "f6",
                "c17",
                "f18",
                "c18",
                "f19",
                "c12",
                "f7"};
    s.fields = {
        F{0, Columns::taxpayerName, "Taxpayer Name:", K::Text, "",
          "Required entry. Enter a unique name or description. Do not change this entry after entering payments, "
          "deposits and charges.",
          150, false, false, true},
        F{96, Columns::clientCode, "Client Code:", K::Text, "",
          "The returns of one person or entity share a code (any text, such as \"SMITH\"): the netting report nets "
          "the interest of a client's returns, and a client's returns can be saved to disk together.",
          50},
        F{3, Columns::originalDueDateOfReturn, "Original Due Date Of Return:", K::Date, "",
          "Enter due date, not including extensions. \"4-15-yyyy\" for most 1040s. Last day of month following "
          "quarter for 941s."},
        F{95, Columns::extendedDueDateOfReturn, "Extended Due Date Of Return:", K::Date, "",
          "Enter latest extended due date. If return is not extend, enter original due date."},
        F{9, Columns::dateReturnFiled, "Date Return Filed:", K::Date, "",
          "This date is the last possible date for failure to file penalty computation."},
        F{92, Columns::endDate, "End Date:", K::Date, "",
          "Enter the date calculation should stop. This must be after the original due date."},
        F{4, Columns::initialBalance, "Initial Balance:", K::Money, "Num",
          "For income tax cases, enter the net unpaid tax as of the original due date. Payroll tax cases enter zero."},
        F{1, Columns::startDate, "Quarter Start Date:", K::Date, "", ""},
        F{6, Columns::assessmentDateForFailureToPayPenalty, "Assessment Date For Failure To Pay Penalty:", K::Date, "",
          "Date interest starts on penalty. Use date on IRS notice saying penalty is being assessed."},
        F{7, Columns::accuracyRelatedUnderpayment, "Accuracy Related Underpayment:", K::Money, "Num",
          "Enter the amount of tax that the IRS has determined to be subject to the penalty."},
        F{18, Columns::dateToBeginIncreasedFailureToPayPenalty, "Date To Begin Increased Failure To Pay Penalty:",
          K::Date, "", "In this field, enter the date to increase the failure to pay penalty to 1% per month."},
        F{21, Columns::dateLargeCorporateRateBegins, "Large Corporate Rate Applicable Date:", K::Date, "",
          "The applicable date of a large corporate underpayment: the 30th day after the first letter of proposed "
          "deficiency that allows an Appeals review, or after the notice of deficiency if that came first (Code Sec. "
          "6621(c)(2)). The higher rate runs from the next day (Code Sec. 6621(c)(1): for periods after the "
          "applicable date)."},
        F{19, Columns::dateToBeginDecreasedFailureToPayPenalty,
          "Date To Begin Decreased Failure To Pay Penalty:", K::Date, "",
          "For years after 1999, in this field, enter the date to decrease the failure to pay penalty to 0.25% per "
          "month. This is the date that the IRS posts the existence of an installment agreement for a timely filed "
          "return, Code Section 6651(h)."},
    };
    s.checks = {
        {13, Columns::payrollTaxSituation, "Calculate Failure To Deposit Penalty", ""},
        {10, Columns::calculateFailureToFilePenalty, "Calculate Failure To File Penalty:",
         "This penalty is 5% of unpaid tax per month starting on the date the last extension expires (Code Sec. "
         "6651(a)(1))."},
        {11, Columns::calculateFailureToPayPenalty, "Calculate Failure To Pay Penalty:",
         "This penalty is usually 1/2% of the unpaid tax per month until paid (Code Sec. 6651(a)(2) & (3))."},
        {17, Columns::calculateIncreasedFailureToPayPenalty, "Calculate Increased Failure To Pay Penalty",
         "IRS may calculate the penalty at an increased rate of 1% per month (Code Section 6651(d)(1))."},
        {18, Columns::calculateDecreasedFailureToPayPenalty, "Calculate Decreased Failure To Pay Penalty",
         "Under Code Section 6651(h), for months beginning after Dec. 31, 1999, for individuals the Failure To File "
         "Penalty will be reduced to 1/4% for any month in which an installment payment agreement is in effect, "
         "provided the individual timely filed (taking extensions into account)."},
        {12, Columns::calculateAccuracyRelatedPenalty, "Calculate Accuracy Related Penalty:",
         "This penalty is a flat 20% of the tax subject to the penalty (Code Sec. 6662)."},
        {20, Columns::largeCorporateUnderpayment, "Large Corporate Underpayment",
         "For a C corporation whose underpayment is over $100,000: from the date below, interest on the unpaid balance "
         "is charged at the underpayment rate plus 2 points (Code Sec. 6621(c))."},
        {15, Columns::corporateTaxpayer, "Corporate Taxpayer",
         "Causes overpayment interest rate to be 1% less than the underpayment rate for periods starting on or after "
         "01/01/1999."},
    };
    return s;
}

} // namespace

TaxpayerEditor::TaxpayerEditor(EditorContext c, QWidget* parent)
    : RecordEditor(taxpayerDesign(), std::move(c), parent) {
    endDateWarning = new QLabel(endDateWarningText, this);
    endDateWarning->setObjectName(QStringLiteral("lblEndDateWarning"));
    endDateWarning->setStyleSheet(QStringLiteral("color: #a00000"));
    endDateWarning->setWordWrap(true);
    endDateWarning->hide();
    // Right under the End Date it is about.
    grid->addWidget(endDateWarning, slotRow(QStringLiteral("endDateWarning")), 1, 1, 2);
    connect(check(11), &QCheckBox::clicked, this, [this](bool on) {
        if (!on)
            check(17)->setChecked(false);
    });
    // Start on the active taxpayer.
    if (!context.taxpayerName.isEmpty()) {
        for (int r = 0; r < rowCount(); ++r)
            if (model->data(model->index(r, model->fieldIndex(Columns::taxpayerNumber))).toInt() ==
                context.taxpayerNumber) {
                showRow(r);
                break;
            }
    }
}

bool TaxpayerEditor::shownPayroll() const {
    return check(13)->isChecked();
}
bool TaxpayerEditor::endDateWarningShown() const {
    return !endDateWarning->isHidden();
}

void TaxpayerEditor::afterMove() {
    const QVariant n = value(Columns::taxpayerNumber);
    lblStatus->setText(QStringLiteral("Taxpayer Number: ") + (n.isValid() && !n.isNull() ? n.toString() : QString()));
    checkEndDate(false);
}

void TaxpayerEditor::fieldLeft(int index) {
    if (index == 92 || index == 95)
        checkEndDate(index == 92);
}

// The End Date before the Extended Due Date: the label says so under the End Date and Save asks, by one rule.
bool TaxpayerEditor::endDateBeforeExtendedDueDate() const {
    QVariant end, ext;
    if (!typedValue(92, &end) || !typedValue(95, &ext) || !end.isValid() || !ext.isValid() || end.isNull() ||
        ext.isNull())
        return false;
    const QDate e = dateOf(end), x = dateOf(ext);
    return e.isValid() && x.isValid() && e < x;
}

void TaxpayerEditor::checkEndDate(bool beep) {
    const bool before = endDateBeforeExtendedDueDate();
    if (before && beep)
        QApplication::beep();
    endDateWarning->setVisible(before);
}

bool TaxpayerEditor::beforeSave() {
    if (!endDateBeforeExtendedDueDate())
        return true;
    return MessageBoxes::ask(this, endDateQuestion(field(92)->text(), field(95)->text()));
}

QString TaxpayerEditor::endDateQuestion(const QString& end, const QString& extended) {
    return QStringLiteral("The End Date %1 is before the Extended Due Date %2: the penalties and interest are figured "
                          "only to %1. Save it all the same?")
        .arg(end, extended);
}

bool TaxpayerEditor::beforeRemove() {
    const int number = value(Columns::taxpayerNumber).toInt();
    if (number == context.taxpayerNumber) {
        message(activeRefusal);
        return false;
    }
    // The taxpayer goes with all its rows: that is asked first, with No as the answer a stray key gives.
    auto rows = [this, number](const QString& table) {
        return db->query(Sql::countTaxpayerRows(table, number)).value(0, 0).toInt();
    };
    std::vector<std::pair<QString, int>> counts;
    for (const QString& table : Schema::taxpayerRowTables())
        counts.push_back({table, rows(table)});
    return MessageBoxes::ask(this, deleteQuestion(number, value(Columns::taxpayerName).toString(), counts));
}

QString TaxpayerEditor::deleteQuestion(int number, const QString& name,
                                       const std::vector<std::pair<QString, int>>& rowsByTable) {
    // Every kind of row the delete takes, in words; a table the list does not know is named as it is.
    const std::vector<std::tuple<QString, QString, QString>> kinds = {
        {Tables::payments, QStringLiteral("payment"), QStringLiteral("payments")},
        {Tables::deposits, QStringLiteral("required deposit"), QStringLiteral("required deposits")},
        {Tables::charges, QStringLiteral("additional charge"), QStringLiteral("additional charges")},
        {Tables::estimatedTaxData, QStringLiteral("tax year of estimated tax figures"),
         QStringLiteral("tax years of estimated tax figures")},
        {Tables::estimatedTaxPayments, QStringLiteral("estimated tax payment"),
         QStringLiteral("estimated tax payments")},
    };
    QStringList parts;
    for (const auto& [table, count] : rowsByTable) {
        if (count == 0)
            continue;
        QString singular = QStringLiteral("row of [%1]").arg(table);
        QString plural = QStringLiteral("rows of [%1]").arg(table);
        for (const auto& [t, one, many] : kinds)
            if (t == table) {
                singular = one;
                plural = many;
            }
        parts << QStringLiteral("%1 %2").arg(count).arg(count == 1 ? singular : plural);
    }
    const QString who = QStringLiteral("taxpayer %1, %2").arg(number).arg(name);
    if (parts.isEmpty())
        return QStringLiteral("Delete %1? Nothing else is entered for it.").arg(who);
    QString listed = parts.join(QStringLiteral(", "));
    if (parts.size() > 1)
        listed = parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + parts.last();
    return QStringLiteral("Delete %1, with everything entered for it: %2? This cannot be undone.").arg(who, listed);
}

bool TaxpayerEditor::removeRow(int row) {
    // The taxpayer goes with all its rows, in one transaction: a failure leaves every row in place.
    const int number = model->data(model->index(row, model->fieldIndex(Columns::taxpayerNumber))).toInt();
    {
        Transaction t(*db);
        for (const QString& table : Schema::taxpayerRowTables())
            db->exec(Sql::deleteTaxpayerRows(table, number));
        db->exec(Sql::deleteTaxpayerRows(Tables::basicTaxpayerData, number));
        t.commit();
    }
    reselect();
    return true;
}

namespace {

RecordEditor::Design paymentDesign(const EditorContext& c) {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmPayment");
    s.caption = QStringLiteral("Payments & Deposits");
    s.noun = QStringLiteral("Payment");
    s.addHint = QStringLiteral("Click on this to add a new payment or deposit.");
    s.table = Tables::payments;
    s.owner = c.taxpayerNumber;
    s.sortColumn = Columns::dateOfPayment;
    s.key = Columns::row;
    s.fields = {
        F{0, Columns::taxpayerName, "", K::Text, "", "", 150, true},
        F{1, Columns::dateOfPayment, "Date Of Payment:", K::Date},
        F{2, Columns::amountOfPayment, "Amount Of Payment:", K::Money, "Num"},
        F{3, Columns::paymentAllocatedToTax, "Allocation To Tax:", K::Money, "Num"},
        F{4, Columns::paymentAllocatedToPenalties, "Allocation To Penalties:", K::Money, "Num"},
        F{5, Columns::paymentAllocatedToInterest, "Allocation To Interest:", K::Money, "Num"},
        F{7, Columns::dueDateOfLiability,
          "Payment Applied To Payroll Tax Liability With Original Due Date Of:", K::Date, "", "", 0, !c.payroll, true},
    };
    return s;
}

} // namespace

PaymentEditor::PaymentEditor(EditorContext c, QWidget* parent) : RecordEditor(paymentDesign(c), c, parent) {
    auto* name = new QLineEdit(context.taxpayerName, this);
    name->setObjectName(QStringLiteral("Text1"));
    name->setReadOnly(true);
    grid->addWidget(new QLabel(QStringLiteral("Taxpayer Name:"), this), grid->rowCount(), 0, Qt::AlignRight);
    grid->addWidget(name, grid->rowCount() - 1, 1);
    if (context.payroll) {
        // The liability a payment pays is one of the required deposits: their due dates are offered to pick, in the
        // list and as the field is typed.
        DataList1 = new QListWidget(this);
        DataList1->setObjectName(QStringLiteral("DataList1"));
        DataList1->setMaximumHeight(90);
        DataList1->setToolTip(QStringLiteral("The due dates of the taxpayer's required deposits; click one to apply "
                                             "the payment to it."));
        const RecordSet deposits = db->query(Sql::selectDepositsOf(context.taxpayerNumber));
        for (int i = 0; i < deposits.size(); ++i) {
            const QDate due = deposits.value(i, Columns::depositDueDate).toDate();
            if (!due.isValid() || depositDueDates.contains(due))
                continue;
            depositDueDates << due;
            auto* item = new QListWidgetItem(due.toString(QStringLiteral("MM/dd/yyyy")), DataList1);
            item->setData(Qt::UserRole, due);
        }
        QStringList offered;
        for (const QDate& due : depositDueDates)
            offered << due.toString(QStringLiteral("MM/dd/yyyy"));
        auto* completer = new QCompleter(offered, this);
        completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        field(7)->setCompleter(completer);
        // A date picked from the completer's list is typed as much as one keyed in: it is what the record saves. The
        // field connects its own setText, which marks it untyped, as it takes the focus, after this: hence queued.
        auto picked = [this](const QString&) {
            if (adding() || editing())
                field(7)->setModified(true);
        };
        connect(completer, qOverload<const QString&>(&QCompleter::activated), this, picked, Qt::QueuedConnection);
        connect(completer, qOverload<const QString&>(&QCompleter::highlighted), this, picked, Qt::QueuedConnection);
        connect(DataList1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
            // Picking a date changes the payment shown: its edit starts, as typing would start it.
            if (!beginTyping()) {
                QApplication::beep();
                return;
            }
            field(7)->setText(item->data(Qt::UserRole).toDate().toString(QStringLiteral("MM/dd/yyyy")));
            field(7)->setModified(true);
        });
        grid->addWidget(new QLabel(QStringLiteral("Payroll Tax Liability Due Dates "), this), grid->rowCount(), 0,
                        Qt::AlignRight | Qt::AlignTop);
        grid->addWidget(DataList1, grid->rowCount() - 1, 1);
    }
    auto* calc = new QPushButton(QStringLiteral("Calculate Balances To Payment Date"), this);
    calc->setObjectName(QStringLiteral("cmdCalcBal"));
    calc->setAutoDefault(false);
    connect(calc, &QPushButton::clicked, this, [this] {
        // The calculation's failures are shown here, like the other buttons'.
        try {
            calculateBalances();
        } catch (const std::exception& e) {
            message(QString::fromStdString(e.what()));
        }
    });
    grid->addWidget(calc, grid->rowCount(), 1);

    balances = new QWidget(this);
    auto* b = new QGridLayout(balances);
    const std::pair<int, const char*> rows[] = {{2, "Tax Due:"}, {3, "Interest Due:"}, {4, "Penalties Due:"}};
    int r = 0;
    for (const auto& [index, caption] : rows) {
        auto* amount = new QLabel(balances);
        amount->setObjectName(QStringLiteral("Label%1").arg(index));
        amount->setAlignment(Qt::AlignRight);
        b->addWidget(new QLabel(QLatin1String(caption), balances), r, 0);
        b->addWidget(amount, r++, 1);
        balanceLabels[index] = amount;
    }
    balances->hide();
    grid->addWidget(balances, grid->rowCount(), 1);
}

bool PaymentEditor::balancesShown() const {
    return !balances->isHidden();
}
QString PaymentEditor::balance(int label) const {
    return balanceLabels.at(label)->text();
}

void PaymentEditor::afterAdd() {
    setFieldText(0, context.taxpayerName);
    for (int i : {2, 3, 4, 5})
        setFieldText(i, QStringLiteral("0"));
    setValue(Columns::event, EventTexts::payment);
    setValue(Columns::taxpayerNumber, context.taxpayerNumber);
    showBalances(false);
}

bool PaymentEditor::beforeSave() {
    if (context.payroll) {
        // A liability date that is no required deposit's would leave the payment out of the deposit penalty.
        QVariant typed;
        const QDate liability = typedValue(7, &typed) ? dateOf(typed) : QDate();
        if (liability.isValid() && !depositDueDates.contains(liability)) {
            message(unmatchedLiability(liability, depositDueDates));
            field(7)->setFocus();
            return false;
        }
    }
    // The split is checked before anything is written, with the difference.
    const Money amount = moneyOf(field(2));
    const Money allocated = moneyOf(field(3)) + moneyOf(field(4)) + moneyOf(field(5));
    if (allocated != amount) {
        QApplication::beep();
        if (!MessageBoxes::ask(this, allocationQuestion(amount, allocated)))
            return false;
    }
    return true;
}

QString PaymentEditor::allocationQuestion(Money amount, Money allocated) {
    return allocationWarning + QStringLiteral(" The payment is %1; the allocations add up to %2, a difference of %3. "
                                              "Save it all the same?")
                                   .arg(groupedDecimal(amount.cents(), 2), groupedDecimal(allocated.cents(), 2),
                                        groupedDecimal((amount - allocated).cents(), 2));
}

QString PaymentEditor::unmatchedLiability(const QDate& typed, const QList<QDate>& dueDates) {
    const QString format = QStringLiteral("MM/dd/yyyy");
    if (dueDates.isEmpty())
        return QStringLiteral("The payment is applied to a payroll tax liability due %1, but no required deposit is "
                              "entered for this taxpayer. Enter the deposits first (Transactions, Payroll Tax "
                              "Deposits Required By IRS), or leave the date empty.")
            .arg(typed.toString(format));
    QStringList dates;
    for (const QDate& d : dueDates)
        dates << d.toString(format);
    return QStringLiteral("No required deposit is due on %1, so the deposit penalty would leave this payment out. "
                          "Apply it to one of the deposits' due dates: %2.")
        .arg(typed.toString(format), dates.join(QStringLiteral(", ")));
}

void PaymentEditor::afterMove() {
    if (balances)
        showBalances(false);
}

void PaymentEditor::calculateBalances() {
    const bool typing = adding() || editing();
    if (!typing && rowCount() == 0) {
        message(Messages::noPayment);
        return;
    }
    std::vector<std::pair<const Field*, QVariant>> typed;
    if (!fieldValues(&typed))
        return;
    auto c = CaseReader(*db).read(context.taxpayerNumber);
    if (!c)
        return;
    // A payment being added or edited counts as if it were saved: the case gets it in memory, in the place the store
    // would give it (a new one after every other of its day), and nothing is written.
    TaxpayerCase::Payment payment;
    auto& payments = c->payments;
    if (editing()) {
        const int row = value(design.key).toInt();
        const auto shown =
            std::find_if(payments.begin(), payments.end(), [row](const auto& p) { return p.row == row; });
        if (shown != payments.end()) {
            payment = *shown;
            payments.erase(shown);
        }
    } else if (adding()) {
        payment.event = EventTexts::payment;
        payment.row = std::numeric_limits<int>::max();
    }
    auto amount = [](const QVariant& v) {
        return v.isValid() ? std::optional<Money>(Money::fromDollars(v.toDouble())) : std::nullopt;
    };
    for (const auto& [f, v] : typed) {
        if (f->column == Columns::dateOfPayment)
            payment.date = QDate::fromString(v.toString(), Qt::ISODate);
        else if (f->column == Columns::amountOfPayment)
            payment.amount = amount(v);
        else if (f->column == Columns::paymentAllocatedToTax)
            payment.toTax = amount(v);
        else if (f->column == Columns::paymentAllocatedToPenalties)
            payment.toPenalties = amount(v);
        else if (f->column == Columns::paymentAllocatedToInterest)
            payment.toInterest = amount(v);
        else if (f->column == Columns::dueDateOfLiability && (v.isValid() || !f->keepWhenEmpty))
            payment.liabilityDueDate = QDate::fromString(v.toString(), Qt::ISODate);
    }
    const QDate date = payment.date;
    if (!date.isValid()) {
        message(QStringLiteral("The Date Of Payment \"%1\" is not a date (mm/dd/yyyy).").arg(field(1)->text()));
        return;
    }
    if (adding() || editing()) {
        const auto at = std::upper_bound(payments.begin(), payments.end(), payment, [](const auto& a, const auto& b) {
            return std::pair(a.date, a.row) < std::pair(b.date, b.row);
        });
        payments.insert(at, payment);
    }
    class FormReporter : public RunReporter {
    public:
        explicit FormReporter(PaymentEditor* e) : editor(e) {}
        void message(const QString& text) override { MessageBoxes::show(editor, text); }
        void notice(const QString& text) override { MessageBoxes::show(editor, text); }
        void progress(int) override {}
        void progressVisible(bool) override {}

    private:
        PaymentEditor* editor;
    } reporter(this);
    CalculationRun::Balances b;
    const RunOutcome outcome = CalculationRun(reporter).balanceAt(*c, date, &b);
    if (outcome != RunOutcome::Written)
        return;
    balanceLabels[2]->setText(balanceText(b.tax));
    balanceLabels[3]->setText(balanceText(b.interest));
    balanceLabels[4]->setText(balanceText(b.penalties));
    showBalances(true);
}

// The balances show under the form: the window grows for them as far as the screen allows, and the form scrolls to
// them beyond that.
void PaymentEditor::showBalances(bool show) {
    balances->setVisible(show);
    if (show)
        reveal(balances);
}

namespace {

RecordEditor::Design chargesDesign(const EditorContext& c) {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmAdnlChrgs");
    s.caption = QStringLiteral("Additional Charges");
    s.noun = QStringLiteral("Charge");
    s.table = Tables::charges;
    s.owner = c.taxpayerNumber;
    s.sortColumn = Columns::dateLiabilityIncurred;
    s.key = Columns::row;
    s.fields = {
        F{7, Columns::taxpayerName, "Taxpayer Name:", K::Text, "", "", 150},
        F{0, Columns::description, "Description:", K::Text, "", "", 150},
        F{1, Columns::dateLiabilityIncurred, "Date Liability Incurred:", K::Date},
        F{2, Columns::dateInterestStarts, "Date Interest Starts:", K::Date},
        F{3, Columns::totalAmountOfCharge, "Total Amount of Charge:", K::Money, "Num"},
        F{4, Columns::chargeClassifiedAsTax, "Amount Classified As Tax:", K::Money, "Num"},
        F{5, Columns::chargeClassifiedAsPenalty, "Amount Classified As Penalty:", K::Money, "Num"},
        F{6, Columns::chargeUnclassified, "Amount Unclassified:", K::Money, "Num"},
        F{8, Columns::event, "", K::Text, "", "", 50, true},
    };
    return s;
}

} // namespace

namespace {

RecordEditor::Design refundsDesign(const EditorContext& c) {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmRefunds");
    s.caption = QStringLiteral("Refunds");
    s.noun = QStringLiteral("Refund");
    s.table = Tables::refunds;
    s.owner = c.taxpayerNumber;
    s.sortColumn = Columns::interestToDate;
    s.key = Columns::row;
    s.fields = {
        F{0, Columns::dateOfRefund, "Date Refund Made:", K::Date, "",
          "The date of the refund, or of the credit of the overpayment to another period.", 0, false, false, true},
        F{1, Columns::interestToDate, "Interest Allowed To:", K::Date, "",
          "The last day of overpayment interest (the IRS's \"interest to\" date, a few days before the refund): on or "
          "before the date the refund was made.",
          0, false, false, true},
        F{2, Columns::amountOfRefund, "Overpayment Refunded:", K::Money, "Num",
          "The overpayment refunded or credited, without the interest paid with it: the interest allowed to the "
          "interest-to date goes with it."},
        F{3, Columns::event, "", K::Text, "", "", 50, true},
    };
    return s;
}

} // namespace

RefundsEditor::RefundsEditor(EditorContext c, QWidget* parent) : RecordEditor(refundsDesign(c), c, parent) {}

void RefundsEditor::afterAdd() {
    setFieldText(3, EventTexts::refund);
    setFieldText(2, QStringLiteral("0"));
    setValue(Columns::taxpayerNumber, context.taxpayerNumber);
}

bool RefundsEditor::beforeSave() {
    auto dateIn = [this](int index) {
        QVariant v;
        return FieldText::parse(FieldKind::Date, field(index)->text(), 0, &v) ? dateOf(v) : QDate();
    };
    const QDate made = dateIn(0);
    const QDate to = dateIn(1);
    if (made.isValid() && to.isValid() && to > made) {
        QApplication::beep();
        message(QStringLiteral("The interest is allowed to %1, after the refund was made on %2: enter an "
                               "interest-to date on or before the date of the refund.")
                    .arg(field(1)->text(), field(0)->text()));
        return false;
    }
    if (moneyOf(field(2)) <= Money()) {
        QApplication::beep();
        message(QStringLiteral("Enter the overpayment refunded: an amount above zero."));
        return false;
    }
    return true;
}

ChargesEditor::ChargesEditor(EditorContext c, QWidget* parent) : RecordEditor(chargesDesign(c), c, parent) {
    emptyNotice = new QLabel(QStringLiteral("There are currently no records in this file. Click on the add button to "
                                            "add the first record."),
                             this);
    emptyNotice->setObjectName(QStringLiteral("lblEmpty"));
    emptyNotice->setWordWrap(true);
    emptyNotice->setVisible(rowCount() == 0);
    grid->addWidget(emptyNotice, grid->rowCount(), 0, 1, 3);
}

void ChargesEditor::afterAdd() {
    emptyNotice->hide();
    setFieldText(7, context.taxpayerName);
    setFieldText(8, EventTexts::otherCharge);
    for (int i : {3, 4, 5, 6})
        setFieldText(i, QStringLiteral("0"));
    setValue(Columns::taxpayerNumber, context.taxpayerNumber);
}

bool ChargesEditor::beforeSave() {
    const Money components = moneyOf(field(4)) + moneyOf(field(5)) + moneyOf(field(6));
    if (moneyOf(field(3)) < components) {
        QApplication::beep();
        message(componentsWarning);
    }
    return true;
}

namespace {

RecordEditor::Design depositsDesign(const EditorContext& c) {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmRequireDeposits");
    s.caption = QStringLiteral("Payroll Tax Deposits Required By IRS");
    s.noun = QStringLiteral("Deposit");
    s.table = Tables::deposits;
    s.owner = c.taxpayerNumber;
    s.sortColumn = Columns::depositDueDate;
    s.key = Columns::row;
    s.status = RecordEditor::Status::DepositRecord;
    s.fields = {
        F{3, Columns::taxpayerName, "Taxpayer Name:", K::Text, "", "", 150},
        F{0, Columns::depositDueDate, "Deposit Due Date:", K::Date},
        F{1, Columns::assessmentDate, "Assessment Date:", K::Date},
        F{2, Columns::requiredDeposit, "Required Deposit:", K::Money, "Num"},
    };
    s.checks = {{14, Columns::sec6656b1B, "Apply Sec. 6656(b)(1)(B) 15% penalty rule", ""}};
    return s;
}

} // namespace

DepositsEditor::DepositsEditor(EditorContext c, QWidget* parent) : RecordEditor(depositsDesign(c), c, parent) {
    showTaxpayerName(QStringLiteral("Active taxpayer:"));
}

void DepositsEditor::afterAdd() {
    setFieldText(3, context.taxpayerName);
    setFieldText(2, QStringLiteral("0"));
    setValue(Columns::event, EventTexts::liability);
    setValue(Columns::taxpayerNumber, context.taxpayerNumber);
    check(14)->setChecked(false);
}

namespace {

RecordEditor::Design rateDesign(const RateKind& kind) {
    RecordEditor::Design s;
    s.objectName = kind.editorObjectName;
    s.caption = kind.editorCaption;
    s.table = kind.table;
    s.noun = QStringLiteral("Rate");
    s.sortColumn = Columns::beginningDate;
    s.descending = true;
    s.key = Columns::row;
    s.status = RecordEditor::Status::RecordOfCount;
    s.fields = {
        F{0, Columns::beginningDate, "Quarter Beginning Date:", K::Date, "", "", 0, false, false, true},
        F{1, Columns::endingDate, "Quarter Ending Date:", K::Date, "", "", 0, false, false, true},
        F{2, Columns::interestRate, "Interest Rate:", K::Rate, "Num", "", 0, false, false, true},
    };
    return s;
}

} // namespace

RateEditor::RateEditor(const RateKind& kind, EditorContext c, QWidget* parent)
    : RecordEditor(rateDesign(kind), c, parent) {
    auto* hint = new QLabel(QStringLiteral("Enter percentage in decimal form, e.g. 5% = 0.05  "), this);
    grid->addWidget(hint, grid->rowCount(), 1, 1, 2);
}

QString RateEditor::didYouMean(double rate) {
    const QString typed = QString::number(rate, 'g', 15);
    return QStringLiteral("A rate of %1 is %2 %. Did you mean %1 %?").arg(typed, QString::number(rate * 100, 'g', 15));
}

// The checks of a rates file: a rate from 0 to 1, a period that ends on or after it begins, and one rate for a day.
namespace {
// A rates file's refusal ("a rate of 7 is not ...") as a message of the form.
QString sentence(QString why) {
    if (!why.isEmpty())
        why[0] = why[0].toUpper();
    return why + QStringLiteral(". Correct it, or cancel.");
}
} // namespace

bool RateEditor::beforeSave() {
    QVariant b, e, r;
    typedValue(0, &b);
    typedValue(1, &e);
    typedValue(2, &r);
    const QDate begins = dateOf(b), ends = dateOf(e);
    const QString format = QStringLiteral("MM/dd/yyyy");
    if (ends < begins) {
        message(QStringLiteral("The Quarter Ending Date %1 is before the Quarter Beginning Date %2. Correct it, or "
                               "cancel.")
                    .arg(ends.toString(format), begins.toString(format)));
        field(1)->setFocus();
        return false;
    }
    double rate = r.toDouble();
    if (rate > 1 && rate <= 100) {
        if (!MessageBoxes::ask(this, didYouMean(rate))) {
            message(sentence(RateCheck::refusal(rate)));
            field(2)->setFocus();
            return false;
        }
        rate /= 100;
        setFieldText(2, FieldText::editing(K::Rate, rate));
        field(2)->setText(FieldText::shown(K::Rate, rate));
    }
    if (const QString why = RateCheck::refusal(rate); !why.isEmpty()) {
        message(sentence(why));
        field(2)->setFocus();
        return false;
    }
    const int begin = model->fieldIndex(Columns::beginningDate);
    const int end = model->fieldIndex(Columns::endingDate);
    const int rateColumn = model->fieldIndex(Columns::interestRate);
    for (int row = 0; row < rowCount(); ++row) {
        if (row == position())
            continue;
        const QDate otherBegins = dateOf(model->data(model->index(row, begin)));
        const QDate otherEnds = dateOf(model->data(model->index(row, end)));
        if (!otherBegins.isValid() || !otherEnds.isValid() || otherEnds < begins || ends < otherBegins)
            continue;
        message(QStringLiteral("The period %1 to %2 overlaps the row of %3 to %4 (%5). A day has one rate: change "
                               "that row instead, or correct the dates.")
                    .arg(begins.toString(format), ends.toString(format), otherBegins.toString(format),
                         otherEnds.toString(format),
                         FieldText::shown(K::Rate, model->data(model->index(row, rateColumn)))));
        field(0)->setFocus();
        return false;
    }
    return true;
}

namespace {

RecordEditor::Design estimatedTaxDesign(const EditorContext& c) {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmEstimatedTax");
    s.caption = QStringLiteral("Estimated Tax");
    s.noun = QStringLiteral("Tax Year");
    s.plural = QStringLiteral("tax years");
    s.table = Tables::estimatedTaxData;
    s.owner = c.taxpayerNumber;
    s.sortColumn = Columns::taxYearEnd;
    s.key = Columns::row;
    s.status = RecordEditor::Status::RecordOfCount;
    // A year goes with its payments: asked first.
    s.undoableDeletes = false;
    s.fields = {
        F{0, Columns::taxYearEnd, "Tax Year End:", K::Date, "",
          "The last day of the tax year: 12/31/2025 for a calendar year, 06/30/2025 for a fiscal year ending in June.",
          0, false, false, true},
        F{1, Columns::currentYearTax, "Current Year Tax:", K::Money, "Num",
          "The tax for the year (for an individual, as Form 2210 line 4 figures it; for a corporation, Form 2220 "
          "line 3)."},
        F{2, Columns::priorYearTax, "Prior Year Tax:", K::Money, "Num",
          "The tax shown on the prior year's return; it counts only when the box below is checked."},
        F{6, Columns::withholding, "Withholding:", K::Money, "Num",
          "An individual's federal income tax withheld for the year, in all (also when it is entered by dates "
          "below); 0 for a corporation."},
    };
    s.checks = {
        {3, Columns::priorYearFullYear, "Prior Year Full Year",
         "Check when a return was filed for the prior year and that year had 12 months (for an individual: as a U.S. "
         "citizen or resident all year)."},
        {4, Columns::highIncomePriorYear, "High Income Prior Year",
         "Individuals: check when the prior year's adjusted gross income was over $150,000 ($75,000 married filing "
         "separately); 110 % of the prior year's tax is then required."},
        {5, Columns::largeCorporation, "Large Corporation",
         "Corporations: check when taxable income was $1,000,000 or more in any of the 3 prior tax years."},
        {7, Columns::withholdingOnActualDates, "Withholding On Actual Dates",
         "Check to count the withholding on the dates it was withheld: enter each amount among the estimated "
         "payments with its date, and keep the total in Withholding (the $1,000 test uses it). Unchecked, the "
         "total counts in four equal parts on the due dates."},
    };
    s.layout = {QStringLiteral("f0"), QStringLiteral("f1"), QStringLiteral("f2"), QStringLiteral("c3"),
                QStringLiteral("c4"), QStringLiteral("c5"), QStringLiteral("f6"), QStringLiteral("c7")};
    return s;
}

} // namespace

EstimatedTaxEditor::EstimatedTaxEditor(EditorContext c, QWidget* parent)
    : RecordEditor(estimatedTaxDesign(c), c, parent) {
    showTaxpayerName(QStringLiteral("Taxpayer Name:"));

    // The year's payments are part of its record: typed with it, saved with it, dropped with it.
    payments = new QTableWidget(0, 2, this);
    payments->setObjectName(QStringLiteral("tblPayments"));
    payments->setHorizontalHeaderLabels({QStringLiteral("Date Of Payment"), QStringLiteral("Amount Of Payment")});
    payments->horizontalHeader()->setStretchLastSection(true);
    payments->horizontalHeader()->resizeSection(0, payments->fontMetrics().horizontalAdvance("Date Of Payment") + 24);
    payments->verticalHeader()->setDefaultSectionSize(payments->fontMetrics().height() + 8);
    payments->setMinimumHeight(6 * (payments->fontMetrics().height() + 8));
    payments->setToolTip(QStringLiteral("The estimated payments for this tax year (for an individual, also the "
                                        "withholding by its actual dates): the day each was made and its amount."));
    payments->setTabKeyNavigation(false);
    payments->installEventFilter(this);
    payments->viewport()->installEventFilter(this);
    grid->addWidget(new QLabel(QStringLiteral("Estimated Payments:"), this), grid->rowCount(), 0,
                    Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(payments, grid->rowCount() - 1, 1, 1, 2);
    auto* rowButtons = new QHBoxLayout;
    addPayment = new QPushButton(QStringLiteral("Add Pa&yment"), this);
    addPayment->setObjectName(QStringLiteral("cmdAddPayment"));
    addPayment->setAutoDefault(false);
    removePayment = new QPushButton(QStringLiteral("Remo&ve Payment"), this);
    removePayment->setObjectName(QStringLiteral("cmdRemovePayment"));
    removePayment->setAutoDefault(false);
    paymentCount = new QLabel(this);
    paymentCount->setObjectName(QStringLiteral("lblPaymentCount"));
    rowButtons->addWidget(addPayment);
    rowButtons->addWidget(removePayment);
    rowButtons->addWidget(paymentCount, 1);
    grid->addLayout(rowButtons, grid->rowCount(), 1, 1, 2);
    connect(addPayment, &QPushButton::clicked, this, [this] {
        if (!beginTyping())
            return;
        const int row = payments->rowCount();
        payments->insertRow(row);
        payments->setItem(row, 0, new QTableWidgetItem());
        auto* amount = new QTableWidgetItem(QStringLiteral("0.00"));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        payments->setItem(row, 1, amount);
        payments->setCurrentCell(row, 0);
        payments->setFocus();
        payments->editItem(payments->item(row, 0));
        paymentsTyped = true;
        countPayments();
    });
    connect(removePayment, &QPushButton::clicked, this, [this] {
        if (!beginTyping() || payments->currentRow() < 0)
            return;
        payments->removeRow(payments->currentRow());
        paymentsTyped = true;
        countPayments();
        // Off the button, so that a second key press does not remove the next payment as well.
        payments->setFocus();
    });
    connect(payments, &QTableWidget::itemChanged, this, [this] {
        if (!loading) {
            paymentsTyped = true;
            countPayments();
        }
    });
    listPayments();
}

QStringList EstimatedTaxEditor::listedPayments() const {
    QStringList lines;
    for (int i = 0; i < payments->rowCount(); ++i)
        lines << payments->item(i, 0)->text() + QStringLiteral("    ") + payments->item(i, 1)->text();
    return lines;
}

void EstimatedTaxEditor::listPayments() {
    loading = true;
    payments->setRowCount(0);
    const QVariant yearEnd = value(Columns::taxYearEnd);
    const QDate end = dateOf(yearEnd);
    if (!adding() && end.isValid()) {
        const RecordSet rows = db->query(Sql::selectEstimatedTaxPayments(context.taxpayerNumber, end, onlyYear()));
        payments->setRowCount(rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            payments->setItem(i, 0,
                              new QTableWidgetItem(FieldText::shown(K::Date, rows.value(i, Columns::dateOfPayment))));
            auto* amount = new QTableWidgetItem(FieldText::shown(K::Money, rows.value(i, Columns::amountOfPayment)));
            amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            payments->setItem(i, 1, amount);
        }
    }
    loading = false;
    paymentsTyped = false;
    countPayments();
}

void EstimatedTaxEditor::countPayments() {
    Money sum;
    int n = 0;
    for (int i = 0; i < payments->rowCount(); ++i) {
        QVariant v;
        const QTableWidgetItem* amount = payments->item(i, 1);
        if (amount && FieldText::parse(K::Money, amount->text(), 0, &v) && v.isValid()) {
            sum += Money::fromDollars(v.toDouble());
            ++n;
        }
    }
    paymentCount->setText(QStringLiteral("%1 payments, %2 in all").arg(n).arg(groupedDecimal(sum.cents(), 2)));
}

void EstimatedTaxEditor::typingChanged(bool on) {
    payments->setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                       QAbstractItemView::AnyKeyPressed
                                 : QAbstractItemView::NoEditTriggers);
    removePayment->setEnabled(on);
    addPayment->setEnabled(true);
}

bool EstimatedTaxEditor::eventFilter(QObject* watched, QEvent* event) {
    // Typing into the payments, or double-clicking one, starts the edit of the year, as a field does.
    if ((watched == payments || watched == payments->viewport()) && !adding() && !editing()) {
        const bool typed = event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty() &&
                           static_cast<QKeyEvent*>(event)->text().at(0).isPrint();
        const bool f2 = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2;
        if ((typed || f2 || event->type() == QEvent::MouseButtonDblClick) && !beginTyping()) {
            QApplication::beep();
            return true;
        }
    }
    return RecordEditor::eventFilter(watched, event);
}

bool EstimatedTaxEditor::anythingTyped() const {
    return paymentsTyped || RecordEditor::anythingTyped();
}

void EstimatedTaxEditor::afterMove() {
    if (payments)
        listPayments();
}

void EstimatedTaxEditor::afterAdd() {
    for (int i : {1, 2, 6})
        setFieldText(i, QStringLiteral("0"));
    setValue(Columns::taxpayerNumber, context.taxpayerNumber);
    for (int i : {3, 4, 5, 7})
        check(i)->setChecked(false);
    listPayments();
}

bool EstimatedTaxEditor::beforeSave() {
    QVariant typed;
    typedValue(0, &typed);
    const QDate yearEnd = dateOf(typed);
    // One record a tax year.
    const int column = model->fieldIndex(Columns::taxYearEnd);
    for (int row = 0; row < rowCount(); ++row)
        if (row != position() && dateOf(model->data(model->index(row, column))) == yearEnd) {
            message(alreadyEntered(yearEnd));
            return false;
        }
    // Every payment row a date and an amount; a row left empty is dropped.
    pending.clear();
    for (int i = 0; i < payments->rowCount(); ++i) {
        const QString date = payments->item(i, 0) ? payments->item(i, 0)->text().trimmed() : QString();
        const QString amount = payments->item(i, 1) ? payments->item(i, 1)->text().trimmed() : QString();
        QVariant d, a;
        if (date.isEmpty() && (amount.isEmpty() || amount == QLatin1String("0.00") || amount == QLatin1String("0")))
            continue;
        if (!FieldText::parse(K::Date, date, 0, &d) || !d.isValid()) {
            message(QStringLiteral("The Date Of Payment \"%1\" of estimated payment %2 is not a date (mm/dd/yyyy). "
                                   "Correct it, or cancel.")
                        .arg(date)
                        .arg(i + 1));
            return false;
        }
        if (!FieldText::parse(K::Money, amount, 0, &a) || !a.isValid()) {
            message(QStringLiteral("The Amount Of Payment \"%1\" of estimated payment %2 is not an amount of at most "
                                   "999,999,999,999.99. Correct it, or cancel.")
                        .arg(amount)
                        .arg(i + 1));
            return false;
        }
        pending.push_back({dateOf(d), a.toDouble()});
    }
    savedYearEnd = yearEnd;
    shownYearEnd = adding() ? QDate() : dateOf(value(Columns::taxYearEnd));
    shownOnlyYear = onlyYear();
    return true;
}

void EstimatedTaxEditor::writeWithRecord() {
    // The year's payments as the form holds them, in place of those stored (under the year's old end, when it
    // changed).
    for (const QDate& end : {shownYearEnd, savedYearEnd})
        if (end.isValid())
            db->exec(Sql::deleteEstimatedTaxPayments(context.taxpayerNumber, end, shownOnlyYear));
    std::vector<QVariantList> rows;
    for (const auto& [date, amount] : pending)
        rows.push_back({context.taxpayerNumber, savedYearEnd, date, amount});
    db->insertRows(Tables::estimatedTaxPayments,
                   {Columns::taxpayerNumber, Columns::taxYearEnd, Columns::dateOfPayment, Columns::amountOfPayment},
                   rows);
}

void EstimatedTaxEditor::afterSave() {
    listPayments();
}

bool EstimatedTaxEditor::beforeRemove() {
    const QDate yearEnd = dateOf(value(Columns::taxYearEnd));
    const int count =
        yearEnd.isValid()
            ? db->query(Sql::selectEstimatedTaxPayments(context.taxpayerNumber, yearEnd, onlyYear())).size()
            : 0;
    return MessageBoxes::ask(
        this, QStringLiteral("Delete the estimated tax figures of the tax year ending %1, with its %2 estimated "
                             "payments? This cannot be undone.")
                  .arg(FieldText::shown(K::Date, yearEnd))
                  .arg(count));
}

bool EstimatedTaxEditor::removeRow(int row) {
    // The year goes with its payments, in one transaction.
    const QDate yearEnd = dateOf(model->data(model->index(row, model->fieldIndex(Columns::taxYearEnd))));
    const int key = model->data(model->index(row, model->fieldIndex(Columns::row))).toInt();
    {
        Transaction t(*db);
        if (yearEnd.isValid())
            db->exec(Sql::deleteEstimatedTaxPayments(context.taxpayerNumber, yearEnd, onlyYear()));
        db->exec(Sql::deleteEstimatedTaxYear(key));
        t.commit();
    }
    reselect();
    return true;
}

// The record shown is the taxpayer's one tax year: payments of no year are its own, as the runs count them.
bool EstimatedTaxEditor::onlyYear() {
    return !adding() && rowCount() == 1;
}

QString EstimatedTaxEditor::alreadyEntered(const QDate& yearEnd) {
    return QStringLiteral("The estimated tax figures of the tax year ending %1 are already entered. Edit them instead "
                          "of adding new ones.")
        .arg(yearEnd.toString(QStringLiteral("MM/dd/yyyy")));
}
