#include "EditorModel.h"

#include "Names.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StoreError.h"

#include <QSqlError>

namespace {

QString ownedBy(int owner) {
    return QLatin1Char('[') + Columns::taxpayerNumber + QLatin1String("] = ") + SqlText::whole(owner);
}

} // namespace

namespace EditorModel {

std::unique_ptr<QSqlTableModel> open(SqliteDatabase& db, const QString& table, int owner, const QString& sortColumn,
                                     bool descending) {
    auto model = std::make_unique<QSqlTableModel>(nullptr, QSqlDatabase::database(db.qtConnectionName()));
    model->setTable(table);
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    if (owner > 0)
        model->setFilter(ownedBy(owner));
    if (!sortColumn.isEmpty())
        model->setSort(model->fieldIndex(sortColumn), descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    if (!model->select())
        db.refused(QStringLiteral("read from"), model->lastError());
    return model;
}

QVariant highestKey(SqliteDatabase& db, const QString& table, const QString& key, int owner) {
    const RecordSet rows =
        db.queryNative(QStringLiteral("SELECT MAX([%1]) FROM [%2]%3")
                           .arg(key, table, owner > 0 ? QStringLiteral(" WHERE ") + ownedBy(owner) : QString()));
    return rows.isEmpty() ? QVariant() : rows.value(0, 0);
}

} // namespace EditorModel
