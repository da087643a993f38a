#pragma once

#include "RateKinds.h"
#include "RecordEditor.h"

class QListWidget;

// frmBasicTaxpayerData: every taxpayer case, starting on the active one.
class TaxpayerEditor : public RecordEditor {
    Q_OBJECT
public:
    static inline const QString activeRefusal = QStringLiteral(
        "This taxpayer is active. To delete this taxpayer, activate another taxpayer or close the program, then "
        "return and complete the deletion.");
    static QString deleteQuestion(int number, const QString& name, int payments, int deposits, int charges);
    TaxpayerEditor(EditorContext context, QWidget* parent = nullptr);
    // The payroll switch of the row shown: the main window sets its payroll items from it on closing.
    bool shownPayroll() const;
    bool endDateWarningShown() const;

protected:
    void afterMove() override;
    void fieldLeft(int index) override;
    bool beforeRemove() override;
    bool removeRow(int row) override;

private:
    QLabel* endDateWarning;
};

// frmPayment: the active taxpayer's payments, the deposit each pays, and the balances on a payment's date.
class PaymentEditor : public RecordEditor {
    Q_OBJECT
public:
    static inline const QString allocationWarning =
        QStringLiteral("The separate allocations do not equal the payment.");
    PaymentEditor(EditorContext context, QWidget* parent = nullptr);
    void calculateBalances(); // cmdCalcBal
    bool balancesShown() const;
    QString balance(int label) const; // Label2 tax, Label3 interest, Label4 penalties

protected:
    void afterAdd() override;
    void afterSave() override;
    void afterMove() override;

private:
    QListWidget* DataList1 = nullptr;
    QWidget* balances;
    int heightBefore = 0; // the window's height before the balances showed
    void showBalances(bool show);
    std::map<int, QLabel*> balanceLabels;
};

// frmAdnlChrgs: charges assessed later, split into tax, penalty and an unclassified rest.
class ChargesEditor : public RecordEditor {
    Q_OBJECT
public:
    static inline const QString componentsWarning = QStringLiteral(
        "The components of the charge exceed the total charge. You should decrease the components or increase the "
        "total.");
    ChargesEditor(EditorContext context, QWidget* parent = nullptr);

protected:
    void afterAdd() override;
    bool beforeSave() override;

private:
    QLabel* emptyNotice;
};

// frmRequireDeposits: the payroll-tax deposits the IRS required.
class DepositsEditor : public RecordEditor {
    Q_OBJECT
public:
    DepositsEditor(EditorContext context, QWidget* parent = nullptr);

protected:
    void afterAdd() override;
};

// frmUnderpaymentIntRates, frmOverpaymentIntRates and the large corporate table: one rate per period, newest first.
class RateEditor : public RecordEditor {
    Q_OBJECT
public:
    RateEditor(const RateKind& kind, EditorContext context, QWidget* parent = nullptr);
};

// frmEstimatedPayments: the active taxpayer's estimated tax payments (and withholding by its actual dates).
class EstimatedPaymentsEditor : public RecordEditor {
    Q_OBJECT
public:
    EstimatedPaymentsEditor(EditorContext context, QWidget* parent = nullptr);

protected:
    void afterAdd() override;
};

// frmEstimatedTax: the active taxpayer's figures for the estimated-tax penalty (one record), with its estimated
// payments listed under them; "Estimated Payments" opens their editor.
class EstimatedTaxEditor : public RecordEditor {
    Q_OBJECT
public:
    static inline const QString alreadyEntered = QStringLiteral(
        "The estimated tax figures of this taxpayer are already entered. Edit them instead of adding new ones.");
    EstimatedTaxEditor(EditorContext context, QWidget* parent = nullptr);
    // The payments as the list shows them, one a line ("09/02/2005  1,000.00").
    QStringList listedPayments() const;
    EstimatedPaymentsEditor* openPayments();

protected:
    void afterAdd() override;
    bool beforeSave() override;

private:
    QListWidget* payments;
    void listPayments();
};
