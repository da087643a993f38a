#include "Editors.h"

#include "CalculationRun.h"
#include "CaseReader.h"
#include "MessageBoxes.h"
#include "MoneyText.h"
#include "Names.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "Schema.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

using F = RecordEditor::Field;
using K = FieldKind;

namespace {

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
    s.caption = QStringLiteral("Basic Taxpayer Data & Situation Profile");
    s.noun = QStringLiteral("Taxpayer");
    s.table = Tables::basicTaxpayerData;
    s.key = Columns::taxpayerNumber;
    s.status = RecordEditor::Status::None;
    s.layout = {"Basic Taxpayer Data Relevant To All Types Of Taxes",
                "f0",
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
    endDateWarning = new QLabel(QStringLiteral("The End Date must be a date after the Extended Due Date."), this);
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
}

void TaxpayerEditor::fieldLeft(int index) {
    if (index != 92)
        return;
    QVariant end, ext;
    if (!FieldText::parse(K::Date, field(92)->text(), 0, &end) ||
        !FieldText::parse(K::Date, field(95)->text(), 0, &ext) || !end.isValid() || !ext.isValid())
        return;
    if (end.toString() < ext.toString()) {
        QApplication::beep();
        endDateWarning->show();
    } else {
        endDateWarning->hide();
    }
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
    return MessageBoxes::ask(this,
                             deleteQuestion(number, value(Columns::taxpayerName).toString(), rows(Tables::payments),
                                            rows(Tables::deposits), rows(Tables::charges)));
}

QString TaxpayerEditor::deleteQuestion(int number, const QString& name, int payments, int deposits, int charges) {
    return QStringLiteral("Delete taxpayer %1, %2, with its %3 payments, %4 deposits and %5 charges?")
        .arg(number)
        .arg(name)
        .arg(payments)
        .arg(deposits)
        .arg(charges);
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
        DataList1 = new QListWidget(this);
        DataList1->setObjectName(QStringLiteral("DataList1"));
        DataList1->setMaximumHeight(90);
        const RecordSet deposits = db->query(Sql::selectDepositsOf(context.taxpayerNumber));
        for (int i = 0; i < deposits.size(); ++i) {
            const QDate due = deposits.value(i, Columns::depositDueDate).toDate();
            auto* item = new QListWidgetItem(due.toString(QStringLiteral("M/d/yyyy")), DataList1);
            item->setData(Qt::UserRole, due);
        }
        connect(DataList1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
            setFieldText(7, item->data(Qt::UserRole).toDate().toString(QStringLiteral("MM/dd/yyyy")));
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

void PaymentEditor::afterSave() {
    const Money allocated = moneyOf(field(3)) + moneyOf(field(4)) + moneyOf(field(5));
    if (allocated != moneyOf(field(2))) {
        QApplication::beep();
        message(allocationWarning);
    }
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

// The window grows by the balances' height when they show and gives it back when they hide, so that the amounts
// are never squeezed and no gap stays behind.
void PaymentEditor::showBalances(bool show) {
    if (show == !balances->isHidden())
        return;
    if (show) {
        heightBefore = height();
        balances->show();
        layout()->activate();
        const int wanted = heightBefore + balances->sizeHint().height() + grid->verticalSpacing();
        if (height() < wanted)
            resize(width(), wanted);
    } else {
        balances->hide();
        layout()->activate();
        if (heightBefore > 0)
            resize(width(), heightBefore);
        heightBefore = 0;
    }
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
        F{0, Columns::beginningDate, "Quarter Beginning Date:", K::Date},
        F{1, Columns::endingDate, "Quarter Ending Date:", K::Date},
        F{2, Columns::interestRate, "Interest Rate:", K::Rate, "Num"},
    };
    return s;
}

} // namespace

RateEditor::RateEditor(const RateKind& kind, EditorContext c, QWidget* parent)
    : RecordEditor(rateDesign(kind), c, parent) {
    auto* hint = new QLabel(QStringLiteral("Enter percentage in decimal form, e.g. 5% = 0.05  "), this);
    grid->addWidget(hint, grid->rowCount(), 1, 1, 2);
}

namespace {

RecordEditor::Design estimatedTaxDesign(const EditorContext& c) {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmEstimatedTax");
    s.caption = QStringLiteral("Estimated Tax");
    s.noun = QStringLiteral("Record");
    s.table = Tables::estimatedTaxData;
    s.owner = c.taxpayerNumber;
    s.sortColumn = Columns::taxYearEnd;
    // One record a taxpayer: its number is its key.
    s.key = Columns::taxpayerNumber;
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

RecordEditor::Design estimatedPaymentsDesign(const EditorContext& c) {
    RecordEditor::Design s;
    s.objectName = QStringLiteral("frmEstimatedPayments");
    s.caption = QStringLiteral("Estimated Tax Payments");
    s.noun = QStringLiteral("Payment");
    s.table = Tables::estimatedTaxPayments;
    s.owner = c.taxpayerNumber;
    s.sortColumn = Columns::dateOfPayment;
    s.key = Columns::row;
    s.status = RecordEditor::Status::RecordOfCount;
    s.fields = {
        F{0, Columns::dateOfPayment, "Date Of Payment:", K::Date, "",
          "The day the payment was made (for a mailed payment, the postmark).", 0, false, false, true},
        F{1, Columns::amountOfPayment, "Amount Of Payment:", K::Money, "Num"},
    };
    return s;
}

} // namespace

EstimatedPaymentsEditor::EstimatedPaymentsEditor(EditorContext c, QWidget* parent)
    : RecordEditor(estimatedPaymentsDesign(c), c, parent) {
    showTaxpayerName(QStringLiteral("Taxpayer Name:"));
}

void EstimatedPaymentsEditor::afterAdd() {
    setFieldText(1, QStringLiteral("0"));
    setValue(Columns::taxpayerNumber, context.taxpayerNumber);
}

EstimatedTaxEditor::EstimatedTaxEditor(EditorContext c, QWidget* parent)
    : RecordEditor(estimatedTaxDesign(c), c, parent) {
    showTaxpayerName(QStringLiteral("Taxpayer Name:"));

    payments = new QListWidget(this);
    payments->setObjectName(QStringLiteral("lstPayments"));
    payments->setMaximumHeight(110);
    payments->setToolTip(
        QStringLiteral("The estimated payments; double-click, or Estimated Payments, to change them."));
    grid->addWidget(new QLabel(QStringLiteral("Estimated Payments:"), this), grid->rowCount(), 0,
                    Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(payments, grid->rowCount() - 1, 1);
    auto* open = new QPushButton(QStringLiteral("Estimated &Payments..."), this);
    open->setObjectName(QStringLiteral("cmdPayments"));
    open->setAutoDefault(false);
    grid->addWidget(open, grid->rowCount(), 1, Qt::AlignLeft);
    connect(open, &QPushButton::clicked, this, [this] { openPayments(); });
    connect(payments, &QListWidget::itemDoubleClicked, this, [this] { openPayments(); });
    listPayments();
}

QStringList EstimatedTaxEditor::listedPayments() const {
    QStringList lines;
    for (int i = 0; i < payments->count(); ++i)
        lines << payments->item(i)->text();
    return lines;
}

void EstimatedTaxEditor::listPayments() {
    payments->clear();
    const RecordSet rows = db->query(Sql::selectEstimatedTaxPayments(context.taxpayerNumber));
    for (int i = 0; i < rows.size(); ++i)
        payments->addItem(FieldText::shown(K::Date, rows.value(i, Columns::dateOfPayment)) + QStringLiteral("    ") +
                          FieldText::shown(K::Money, rows.value(i, Columns::amountOfPayment)));
}

EstimatedPaymentsEditor* EstimatedTaxEditor::openPayments() {
    // The payments are edited in their own window; this one waits and lists them anew when it closes.
    auto* editor = new EstimatedPaymentsEditor(context, this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    setEnabled(false);
    editor->setEnabled(true);
    connect(editor, &RecordEditor::closedEditor, this, [this] {
        setEnabled(true);
        listPayments();
        payments->setFocus();
    });
    editor->show();
    return editor;
}

void EstimatedTaxEditor::afterAdd() {
    for (int i : {1, 2, 6})
        setFieldText(i, QStringLiteral("0"));
    setValue(Columns::taxpayerNumber, context.taxpayerNumber);
    for (int i : {3, 4, 5, 7})
        check(i)->setChecked(false);
}

bool EstimatedTaxEditor::beforeSave() {
    if (adding() && !db->query(Sql::selectEstimatedTaxData(context.taxpayerNumber)).isEmpty()) {
        message(alreadyEntered);
        return false;
    }
    return true;
}
