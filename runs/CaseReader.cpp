#include "CaseReader.h"

#include "BusinessDays.h"
#include "Database.h"
#include "EstimatedTax.h"
#include "InterestLaw.h"
#include "Names.h"
#include "RateKinds.h"
#include "RatesFile.h"
#include "RunStop.h"
#include "Statements.h"
#include "StoreError.h"
#include "WholeFile.h"

#include <cmath>

namespace {

// A stored amount made exact money, once; one beyond the largest amount marks its case, whose runs then overflow.
std::optional<Money> amount(const QVariant& v, TaxpayerCase& of) {
    if (!v.isValid())
        return std::nullopt;
    const double dollars = v.toDouble();
    if (!(std::fabs(dollars) * 100 <= double(Money::largestCents) + 0.5)) {
        of.beyondLargestAmount = true;
        return std::nullopt;
    }
    return Money::fromDollars(dollars);
}

// A row's values read by field name, through a record set or a cursor.
template <typename Source> class Fields {
public:
    Fields(const Source& source, int row) : from(source), at(row) {}
    QVariant operator[](const QString& name) const { return valueOf(from, at, name); }

private:
    const Source& from;
    int at;
    static QVariant valueOf(const RecordSet& s, int row, const QString& name) { return s.value(row, name); }
    static QVariant valueOf(const Database::Cursor& c, int, const QString& name) { return c.value(c.fieldIndex(name)); }
};

template <typename F> void fillTaxpayer(TaxpayerCase& c, const F& f) {
    c.number = f[Columns::taxpayerNumber].toInt();
    c.name = f[Columns::taxpayerName].toString();
    c.clientCode = f[Columns::clientCode].toString().trimmed();
    c.startDate = f[Columns::startDate].toDate();
    c.endDate = f[Columns::endDate].toDate();
    c.originalDueDate = f[Columns::originalDueDateOfReturn].toDate();
    c.extendedDueDate = f[Columns::extendedDueDateOfReturn].toDate();
    c.dateReturnFiled = f[Columns::dateReturnFiled].toDate();
    c.initialBalance = amount(f[Columns::initialBalance], c);
    c.failureToFile = f[Columns::calculateFailureToFilePenalty].toBool();
    c.failureToPay = f[Columns::calculateFailureToPayPenalty].toBool();
    c.failureToPayAssessment = f[Columns::assessmentDateForFailureToPayPenalty].toDate();
    c.increasedFailureToPay = f[Columns::calculateIncreasedFailureToPayPenalty].toBool();
    c.increasedFailureToPayBegins = f[Columns::dateToBeginIncreasedFailureToPayPenalty].toDate();
    c.decreasedFailureToPay = f[Columns::calculateDecreasedFailureToPayPenalty].toBool();
    c.decreasedFailureToPayBegins = f[Columns::dateToBeginDecreasedFailureToPayPenalty].toDate();
    c.accuracyRelated = f[Columns::calculateAccuracyRelatedPenalty].toBool();
    c.accuracyUnderpayment = amount(f[Columns::accuracyRelatedUnderpayment], c);
    c.payroll = f[Columns::payrollTaxSituation].toBool();
    c.corporate = f[Columns::corporateTaxpayer].toBool();
    c.largeCorporateUnderpayment = f[Columns::largeCorporateUnderpayment].toBool();
    c.largeCorporateRateBegins = f[Columns::dateLargeCorporateRateBegins].toDate();
}

// The readers of each table's rows into a case, by the field positions of their query.
struct PaymentFields {
    int row, event, date, paid, tax, penalties, interest, liability;
    explicit PaymentFields(const Database::Cursor& c)
        : row(c.fieldIndex(Columns::row)), event(c.fieldIndex(Columns::event)),
          date(c.fieldIndex(Columns::dateOfPayment)), paid(c.fieldIndex(Columns::amountOfPayment)),
          tax(c.fieldIndex(Columns::paymentAllocatedToTax)),
          penalties(c.fieldIndex(Columns::paymentAllocatedToPenalties)),
          interest(c.fieldIndex(Columns::paymentAllocatedToInterest)),
          liability(c.fieldIndex(Columns::dueDateOfLiability)) {}
    void add(const Database::Cursor& c, TaxpayerCase& to) const {
        to.payments.push_back({c.value(row).toInt(), c.value(event).toString(), c.value(date).toDate(),
                               amount(c.value(paid), to), amount(c.value(tax), to), amount(c.value(penalties), to),
                               amount(c.value(interest), to), c.value(liability).toDate()});
    }
};

struct ChargeFields {
    int row, event, starts, tax, penalty, unclassified, incurred;
    explicit ChargeFields(const Database::Cursor& c)
        : row(c.fieldIndex(Columns::row)), event(c.fieldIndex(Columns::event)),
          starts(c.fieldIndex(Columns::dateInterestStarts)), tax(c.fieldIndex(Columns::chargeClassifiedAsTax)),
          penalty(c.fieldIndex(Columns::chargeClassifiedAsPenalty)),
          unclassified(c.fieldIndex(Columns::chargeUnclassified)),
          incurred(c.fieldIndex(Columns::dateLiabilityIncurred)) {}
    void add(const Database::Cursor& c, TaxpayerCase& to) const {
        to.charges.push_back({c.value(row).toInt(), c.value(event).toString(), c.value(starts).toDate(),
                              amount(c.value(tax), to), amount(c.value(penalty), to), amount(c.value(unclassified), to),
                              incurred < 0 ? QDate() : c.value(incurred).toDate()});
    }
};

struct DepositFields {
    int row, event, due, assessed, required, sec;
    explicit DepositFields(const Database::Cursor& c)
        : row(c.fieldIndex(Columns::row)), event(c.fieldIndex(Columns::event)),
          due(c.fieldIndex(Columns::depositDueDate)), assessed(c.fieldIndex(Columns::assessmentDate)),
          required(c.fieldIndex(Columns::requiredDeposit)), sec(c.fieldIndex(Columns::sec6656b1B)) {}
    void add(const Database::Cursor& c, TaxpayerCase& to) const {
        to.deposits.push_back({c.value(row).toInt(), c.value(event).toString(), c.value(due).toDate(),
                               c.value(assessed).toDate(), amount(c.value(required), to), c.value(sec).toBool()});
    }
};

struct RefundFields {
    int row, event, made, interestTo, amountField;
    explicit RefundFields(const Database::Cursor& c)
        : row(c.fieldIndex(Columns::row)), event(c.fieldIndex(Columns::event)),
          made(c.fieldIndex(Columns::dateOfRefund)), interestTo(c.fieldIndex(Columns::interestToDate)),
          amountField(c.fieldIndex(Columns::amountOfRefund)) {}
    void add(const Database::Cursor& c, TaxpayerCase& to) const {
        to.refunds.push_back({c.value(row).toInt(), c.value(event).toString(), c.value(made).toDate(),
                              c.value(interestTo).toDate(), amount(c.value(amountField), to)});
    }
};

struct IrsFigureFields {
    int row, code, event, description, date, amountField;
    explicit IrsFigureFields(const Database::Cursor& c)
        : row(c.fieldIndex(Columns::row)), code(c.fieldIndex(Columns::transactionCode)),
          event(c.fieldIndex(Columns::event)), description(c.fieldIndex(Columns::description)),
          date(c.fieldIndex(Columns::date)), amountField(c.fieldIndex(Columns::amount)) {}
    void add(const Database::Cursor& c, TaxpayerCase& to) const {
        to.irsFigures.push_back({c.value(row).toInt(), c.value(code).toString(), c.value(event).toString(),
                                 c.value(description).toString(), c.value(date).toDate(),
                                 amount(c.value(amountField), to)});
    }
};

struct EstimatedFields {
    explicit EstimatedFields(const Database::Cursor&) {}
    void add(const Database::Cursor& c, TaxpayerCase& to) const {
        const Fields<Database::Cursor> f(c, 0);
        // One row a tax year (a unique index keeps it so); the first is taken.
        const QDate yearEnd = f[Columns::taxYearEnd].toDate();
        for (const auto& y : to.estimatedYears)
            if (y.figures.yearEnd == yearEnd)
                return;
        to.estimatedYears.push_back(
            {TaxpayerCase::EstimatedTaxFigures{
                 f[Columns::row].toInt(), yearEnd, amount(f[Columns::currentYearTax], to),
                 amount(f[Columns::priorYearTax], to), f[Columns::priorYearFullYear].toBool(),
                 f[Columns::highIncomePriorYear].toBool(), f[Columns::largeCorporation].toBool(),
                 amount(f[Columns::withholding], to), f[Columns::withholdingOnActualDates].toBool()},
             {}});
    }
};

struct EstimatedPaymentFields {
    int year, date, amountField;
    explicit EstimatedPaymentFields(const Database::Cursor& c)
        : year(c.fieldIndex(Columns::taxYearEnd)), date(c.fieldIndex(Columns::dateOfPayment)),
          amountField(c.fieldIndex(Columns::amountOfPayment)) {}
    void add(const Database::Cursor& c, TaxpayerCase& to) const {
        // A payment goes with the figures of its year. One without a year (written by another program) is the
        // year's when the taxpayer has only one, as the upgrade makes it; otherwise it is counted for the run to say.
        const QDate yearEnd = c.value(year).toDate();
        if (!yearEnd.isValid() && to.estimatedYears.size() == 1) {
            to.estimatedYears.front().payments.push_back({c.value(date).toDate(), amount(c.value(amountField), to)});
            return;
        }
        for (auto& y : to.estimatedYears)
            if (y.figures.yearEnd == yearEnd && yearEnd.isValid()) {
                y.payments.push_back({c.value(date).toDate(), amount(c.value(amountField), to)});
                return;
            }
        ++to.estimatedPaymentsWithoutYear;
    }
};

// One table's rows in taxpayer order, handed out taxpayer by taxpayer as the book goes.
template <typename Reader> class TableWalk {
public:
    TableWalk(Database& db, const QString& statement)
        : rows(db.cursor(statement)), reader(*rows), number(rows->fieldIndex(Columns::taxpayerNumber)) {
        more = rows->next();
    }
    // Adds the rows of taxpayer `n` to `to`, passing over rows of taxpayers before it (of no taxpayer of the book).
    void addRowsOf(int n, TaxpayerCase& to) {
        while (more && rows->value(number).toInt() < n)
            more = rows->next();
        while (more && rows->value(number).toInt() == n) {
            reader.add(*rows, to);
            more = rows->next();
        }
    }

private:
    std::unique_ptr<Database::Cursor> rows;
    Reader reader;
    int number;
    bool more = false;
};

// Every row of one taxpayer's query into its case.
template <typename Reader> void addAll(Database& db, const QString& statement, TaxpayerCase& to) {
    const auto rows = db.cursor(statement);
    const Reader fields(*rows);
    while (rows->next())
        fields.add(*rows, to);
}

std::vector<RatePeriod> ratePeriods(Database& db, const QString& table) {
    const RecordSet rows = db.query(Sql::selectRatesOf(table));
    std::vector<RatePeriod> periods;
    periods.reserve(size_t(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        // A stored rate becomes an exact one, once.
        const QVariant& rate = rows.value(i, Columns::interestRate);
        periods.push_back({rows.value(i, Columns::beginningDate).toDate(), rows.value(i, Columns::endingDate).toDate(),
                           rate.isValid() ? std::optional<Rate>(Rate::fromDouble(rate.toDouble())) : std::nullopt});
    }
    return periods;
}

QString dataFileText(const QString& name) {
    try {
        return QString::fromUtf8(readRegularFile(DataFiles::path(name), dataFileLimit, QStringLiteral("data file")));
    } catch (const StoreError& e) {
        throw RunStop(e.message() + QStringLiteral(" The program needs it for this calculation."));
    }
}

std::shared_ptr<const PublishedFigures> readFigures(Database& db) {
    auto f = std::make_shared<PublishedFigures>();
    f->underpayment = ratePeriods(db, RateKinds::underpayment().table);
    f->overpayment = ratePeriods(db, RateKinds::overpayment().table);
    f->largeCorporate = ratePeriods(db, RateKinds::largeCorporate().table);
    f->largeCorporateOverpayment = ratePeriods(db, RateKinds::largeCorporateOverpayment().table);
    const RecordSet minimums = db.query(Sql::selectFailureToFileMinimums());
    for (int i = 0; i < minimums.size(); ++i)
        f->failureToFileMinimums.push_back({minimums.value(i, Columns::firstYear).toInt(),
                                            Money::fromDollars(minimums.value(i, Columns::amount).toDouble())});
    // The installed data files only the estimated-tax penalty reads: a run that needs them says what is wrong with
    // them, the others never do.
    try {
        f->holidays = BusinessDays::parse(dataFileText(DataFiles::holidays), DataFiles::path(DataFiles::holidays));
        f->estimatedTaxRules = EstimatedTax::parseRules(dataFileText(DataFiles::estimatedTaxRules),
                                                        DataFiles::path(DataFiles::estimatedTaxRules));
    } catch (const RunStop& s) {
        f->dataFilesProblem = s.text();
    }
    // Read apart: a corporation's interest needs it, whatever the other two files hold.
    try {
        f->interestLaw =
            parseInterestLaw(dataFileText(DataFiles::interestLaw), DataFiles::path(DataFiles::interestLaw));
    } catch (const RunStop& s) {
        f->interestLawProblem = s.text();
    }
    return f;
}

} // namespace

CaseReader::CaseReader(Database& database)
    : db(database), published(readFigures(database)), refundTakesFirstPart(chosenReading) {}

TaxpayerCase CaseReader::taxpayerOf(const RecordSet& rows, int index) {
    TaxpayerCase c;
    fillTaxpayer(c, Fields<RecordSet>(rows, index));
    return c;
}

std::optional<TaxpayerCase> CaseReader::read(int number) {
    const RecordSet row = db.query(Sql::selectCaseTaxpayers(number));
    if (row.isEmpty())
        return std::nullopt;
    TaxpayerCase c = taxpayerOf(row, 0);
    c.figures = published;
    c.refundTakesFirstPart = refundTakesFirstPart;
    addAll<PaymentFields>(db, Sql::selectCasePayments(number), c);
    addAll<ChargeFields>(db, Sql::selectCaseCharges(number), c);
    addAll<DepositFields>(db, Sql::selectCaseDeposits(number), c);
    addAll<RefundFields>(db, Sql::selectCaseRefunds(number), c);
    addAll<IrsFigureFields>(db, Sql::selectCaseIrsFigures(number), c);
    addAll<EstimatedFields>(db, Sql::selectCaseEstimatedData(number), c);
    addAll<EstimatedPaymentFields>(db, Sql::selectCaseEstimatedPayments(number), c);
    return c;
}

std::vector<TaxpayerCase> CaseReader::client(const QString& clientCode) {
    std::vector<TaxpayerCase> cases;
    const RecordSet numbers = db.query(Sql::selectClientTaxpayers(clientCode));
    for (int i = 0; i < numbers.size(); ++i)
        if (auto c = read(numbers.value(i, Columns::taxpayerNumber).toInt()))
            cases.push_back(std::move(*c));
    return cases;
}

void CaseReader::everyCase(const std::function<void(const TaxpayerCase&)>& each) {
    const auto taxpayers = db.cursor(Sql::selectCaseTaxpayers());
    TableWalk<PaymentFields> payments(db, Sql::selectCasePayments());
    TableWalk<ChargeFields> charges(db, Sql::selectCaseCharges());
    TableWalk<DepositFields> deposits(db, Sql::selectCaseDeposits());
    TableWalk<RefundFields> refunds(db, Sql::selectCaseRefunds());
    TableWalk<IrsFigureFields> irsFigures(db, Sql::selectCaseIrsFigures());
    TableWalk<EstimatedFields> estimated(db, Sql::selectCaseEstimatedData());
    TableWalk<EstimatedPaymentFields> estimatedPayments(db, Sql::selectCaseEstimatedPayments());
    while (taxpayers->next()) {
        TaxpayerCase c;
        fillTaxpayer(c, Fields<Database::Cursor>(*taxpayers, 0));
        c.figures = published;
        c.refundTakesFirstPart = refundTakesFirstPart;
        payments.addRowsOf(c.number, c);
        charges.addRowsOf(c.number, c);
        deposits.addRowsOf(c.number, c);
        refunds.addRowsOf(c.number, c);
        irsFigures.addRowsOf(c.number, c);
        estimated.addRowsOf(c.number, c);
        estimatedPayments.addRowsOf(c.number, c);
        each(c);
    }
}
