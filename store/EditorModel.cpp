#include "EditorModel.h"

#include "Names.h"
#include "PostgresDatabase.h"
#include "Schema.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StoreError.h"

#include <QHash>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {

QString ownedBy(int owner) {
    return QLatin1Char('[') + Columns::taxpayerNumber + QLatin1String("] = ") + SqlText::whole(owner);
}

// A table's rows on the firm's server: read as Qt reads them; written by the program itself, each value a parameter
// of its statement, after checking that no other user changed the taxpayer since the rows were read.
class ServerTableModel : public QSqlTableModel {
public:
    ServerTableModel(PostgresDatabase& database, int ownerNumber)
        : QSqlTableModel(nullptr, QSqlDatabase::database(database.qtConnectionName())), db(database),
          owner(ownerNumber) {}

    bool select() override {
        // What each taxpayer's rows were when read: a save is refused over a later change of another user's.
        seen.clear();
        const RecordSet latest =
            db.queryNative(QStringLiteral("SELECT \"Taxpayer Number\", max(\"Change\") FROM \"Change History\" "
                                          "WHERE $1 = 0 OR \"Taxpayer Number\" = $1 GROUP BY 1"),
                           {owner});
        for (int i = 0; i < latest.size(); ++i)
            seen.insert(latest.value(i, 0).toInt(), latest.value(i, 1).toLongLong());
        return QSqlTableModel::select();
    }

protected:
    bool insertRowIntoTable(const QSqlRecord& values) override {
        QStringList columns;
        QVariantList row;
        for (int i = 0; i < values.count(); ++i)
            if (values.isGenerated(i)) {
                columns << values.fieldName(i);
                row << values.value(i);
            }
        return write(taxpayerOf(values, QSqlRecord()), [&] { db.insertRows(tableName(), columns, {row}); });
    }

    bool updateRowInTable(int row, const QSqlRecord& values) override {
        const QSqlRecord where = primaryValues(row);
        QStringList sets;
        QVariantList parameters;
        for (int i = 0; i < values.count(); ++i)
            if (values.isGenerated(i)) {
                parameters << typed(values.fieldName(i), values.value(i));
                sets << SqlText::serverName(values.fieldName(i)) + QStringLiteral(" = $%1").arg(parameters.size());
            }
        if (sets.isEmpty())
            return true;
        const QString condition = matching(where, &parameters);
        return write(taxpayerOf(record(row), where), [&] {
            db.execNative(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                              .arg(SqlText::serverName(tableName()), sets.join(QStringLiteral(", ")), condition),
                          parameters);
        });
    }

    bool deleteRowFromTable(int row) override {
        const QSqlRecord where = primaryValues(row);
        QVariantList parameters;
        const QString condition = matching(where, &parameters);
        return write(taxpayerOf(record(row), where), [&] {
            db.execNative(QStringLiteral("DELETE FROM %1 WHERE %2").arg(SqlText::serverName(tableName()), condition),
                          parameters);
        });
    }

private:
    PostgresDatabase& db;
    int owner;
    QHash<int, qint64> seen;

    // A value the form gives (a date may come as its ISO text) in the type its column takes.
    static QVariant typed(const QString& column, const QVariant& v) {
        Schema::Kind kind;
        if (v.isNull() || !Schema::kindOf(column, &kind))
            return v.isNull() ? QVariant() : v;
        switch (kind) {
        case Schema::Kind::Date:
            return v.typeId() == QMetaType::QDate ? v : QVariant(QDate::fromString(v.toString(), Qt::ISODate));
        case Schema::Kind::YesNo:
            return v.toBool();
        case Schema::Kind::Money:
        case Schema::Kind::Rate:
        case Schema::Kind::Double:
            return v.toDouble();
        case Schema::Kind::Counter:
        case Schema::Kind::Long:
        case Schema::Kind::Whole:
            return v.toLongLong();
        case Schema::Kind::Text:
            return v.toString();
        }
        return v;
    }

    static QString matching(const QSqlRecord& where, QVariantList* parameters) {
        QStringList parts;
        for (int i = 0; i < where.count(); ++i) {
            const QString name = SqlText::serverName(where.fieldName(i));
            if (where.value(i).isNull()) {
                parts << name + QStringLiteral(" IS NULL");
            } else {
                *parameters << typed(where.fieldName(i), where.value(i));
                parts << name + QStringLiteral(" = $%1").arg(parameters->size());
            }
        }
        return parts.join(QStringLiteral(" AND "));
    }

    int taxpayerOf(const QSqlRecord& values, const QSqlRecord& where) const {
        if (owner > 0)
            return owner;
        for (const QSqlRecord* r : {&where, &values})
            if (const int i = r->indexOf(Columns::taxpayerNumber); i >= 0 && !r->value(i).isNull())
                return r->value(i).toInt();
        return 0;
    }

    // Writes unless another user changed the taxpayer since the rows were read; a refusal is the model's error.
    bool write(int taxpayer, const std::function<void()>& statement) {
        try {
            if (taxpayer > 0) {
                if (const auto other = db.changedByOthers(taxpayer, seen.value(taxpayer))) {
                    setLastError(QSqlError(QString(), PostgresDatabase::conflictMessage(taxpayer, *other),
                                           QSqlError::TransactionError, QStringLiteral("talvoro-changed")));
                    return false;
                }
            }
            statement();
            return true;
        } catch (const StoreError& e) {
            setLastError(
                QSqlError(e.details(), e.message(), QSqlError::StatementError, QStringLiteral("talvoro-refused")));
            return false;
        }
    }
};

} // namespace

namespace EditorModel {

std::unique_ptr<QSqlTableModel> open(QtDatabase& db, const QString& table, int owner, const QString& sortColumn,
                                     bool descending) {
    auto* server = dynamic_cast<PostgresDatabase*>(&db);
    std::unique_ptr<QSqlTableModel> model =
        server ? std::make_unique<ServerTableModel>(*server, owner)
               : std::make_unique<QSqlTableModel>(nullptr, QSqlDatabase::database(db.qtConnectionName()));
    model->setTable(table);
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    if (owner > 0)
        model->setFilter(server ? SqlText::translateForServer(ownedBy(owner)) : ownedBy(owner));
    if (!sortColumn.isEmpty())
        model->setSort(model->fieldIndex(sortColumn), descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    if (!model->select())
        db.refused(QStringLiteral("read from"), model->lastError());
    return model;
}

QVariant highestKey(QtDatabase& db, const QString& table, const QString& key, int owner) {
    const RecordSet rows =
        db.query(QStringLiteral("SELECT MAX([%1]) AS n FROM [%2]%3")
                     .arg(key, table, owner > 0 ? QStringLiteral(" WHERE ") + ownedBy(owner) : QString()));
    return rows.isEmpty() ? QVariant() : rows.value(0, 0);
}

} // namespace EditorModel
