#pragma once

#include <QDate>
#include <QList>

#include "Money.h"
#include "RateKinds.h"
#include "RecordEditor.h"

class QListWidget;
class QTableWidget;

// frmBasicTaxpayerData: every taxpayer case, starting on the active one.
class TaxpayerEditor : public RecordEditor {
    Q_OBJECT
public:
    static inline const QString activeRefusal = QStringLiteral(
        "This taxpayer is active. To delete this taxpayer, activate another taxpayer or close the program, then "
        "return and complete the deletion.");
    // The question before a taxpayer is deleted, naming how many rows of each table go with it.
    static QString deleteQuestion(int number, const QString& name,
                                  const std::vector<std::pair<QString, int>>& rowsByTable);
    TaxpayerEditor(EditorContext context, QWidget* parent = nullptr);
    // The payroll switch of the row shown: the main window sets its payroll items from it on closing.
    bool shownPayroll() const;
    bool endDateWarningShown() const;

    static inline const QString endDateWarningText =
        QStringLiteral("The End Date is before the Extended Due Date; Save asks before it keeps it.");
    static QString endDateQuestion(const QString& end, const QString& extended);

protected:
    void afterMove() override;
    void fieldLeft(int index) override;
    bool beforeSave() override;
    bool beforeRemove() override;
    bool removeRow(int row) override;

private:
    QLabel* endDateWarning;
    bool endDateBeforeExtendedDueDate() const;
    void checkEndDate(bool beep);
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

    static QString allocationQuestion(Money amount, Money allocated);
    static QString unmatchedLiability(const QDate& typed, const QList<QDate>& dueDates);

protected:
    void afterAdd() override;
    bool beforeSave() override;
    void afterMove() override;

private:
    QListWidget* DataList1 = nullptr;
    QList<QDate> depositDueDates;
    QWidget* balances;
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

// frmRefunds: a taxpayer's refunds, or credits of its overpayment to another period.
class RefundsEditor : public RecordEditor {
    Q_OBJECT
public:
    RefundsEditor(EditorContext context, QWidget* parent = nullptr);

protected:
    void afterAdd() override;
    bool beforeSave() override;
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
    // "A rate of 7 is 700 %. Did you mean 7 %?"
    static QString didYouMean(double rate);

protected:
    bool beforeSave() override;
};

// frmEstimatedTax: the active taxpayer's figures for the estimated-tax penalty, one record a tax year, each with the
// estimated payments made for that year, typed, saved and dropped with it.
class EstimatedTaxEditor : public RecordEditor {
    Q_OBJECT
public:
    static QString alreadyEntered(const QDate& yearEnd);
    EstimatedTaxEditor(EditorContext context, QWidget* parent = nullptr);
    // The payments as the form lists them, one a line ("09/02/2005    1,000.00").
    QStringList listedPayments() const;
    QTableWidget* paymentTable() const { return payments; }

protected:
    void afterAdd() override;
    void afterMove() override;
    bool beforeSave() override;
    void writeWithRecord() override;
    void afterSave() override;
    bool beforeRemove() override;
    bool removeRow(int row) override;
    void typingChanged(bool on) override;
    bool anythingTyped() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* payments = nullptr;
    QPushButton* addPayment = nullptr;
    QPushButton* removePayment = nullptr;
    QLabel* paymentCount = nullptr;
    bool loading = false;
    bool paymentsTyped = false;
    std::vector<std::pair<QDate, double>> pending; // the payments to write, checked
    QDate savedYearEnd, shownYearEnd;
    bool shownOnlyYear = false;
    bool onlyYear();
    void listPayments();
    void countPayments();
};
