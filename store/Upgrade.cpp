#include "Upgrade.h"

#include "RatesFile.h"
#include "Schema.h"
#include "SqliteDatabase.h"
#include "Statements.h"

#include <QStringList>

namespace Upgrade {
namespace {

QString bracket(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString bracketList(const QStringList& names) {
    QStringList out;
    for (const auto& n : names)
        out << bracket(n);
    return out.join(QLatin1Char(','));
}

const Schema::Table* find(const std::vector<Schema::Table>& tables, const QString& name) {
    for (const auto& t : tables)
        if (t.name == name)
            return &t;
    return nullptr;
}

QString sqlOf(int layout, const QString& type, const QString& name) {
    for (const auto& o : Schema::objects(layout))
        if (o.type == type && o.name == name)
            return o.sql;
    return QString();
}

// The tables and indexes of `layout` made from those of the layout before: a table whose columns changed is made
// anew under its name, with exactly the text a new file of that layout has, and its rows copied over in their order.
void reshape(SqliteDatabase& db, int layout) {
    const auto& before = Schema::tables(layout - 1);
    for (const auto& table : Schema::tables(layout)) {
        const Schema::Table* old = find(before, table.name);
        if (old && old->columnNames() == table.columnNames())
            continue;
        if (!old) {
            db.execNative(sqlOf(layout, QStringLiteral("table"), table.name));
            continue;
        }
        const QString kept = table.name + QStringLiteral(" (layout %1)").arg(layout - 1);
        QStringList common;
        for (const auto& c : old->columnNames())
            if (table.columnNames().contains(c))
                common << c;
        db.execNative(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(bracket(table.name), bracket(kept)));
        db.execNative(sqlOf(layout, QStringLiteral("table"), table.name));
        db.execNative(QStringLiteral("INSERT INTO %1(%2) SELECT %2 FROM %3 ORDER BY rowid")
                          .arg(bracket(table.name), bracketList(common), bracket(kept)));
        db.execNative(QStringLiteral("DROP TABLE %1").arg(bracket(kept)));
    }
    for (const auto& o : Schema::objects(layout)) {
        if (o.type != QLatin1String("index"))
            continue;
        if (db.queryNative(QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'index' AND name = '%1'")
                               .arg(QString(o.name).replace(QLatin1Char('\''), QLatin1String("''"))))
                .isEmpty())
            db.execNative(o.sql);
    }
}

} // namespace

void fill(Database& db, int layout) {
    if (layout == 3) {
        // The tables of published data that layout 3 adds, from the data files the program ships.
        insertPublishedRates(db, readPublishedRates(DataFiles::path(DataFiles::rates)), {&RateKinds::largeCorporate()});
        insertFailureToFileMinimums(db, readFailureToFileMinimums(DataFiles::path(DataFiles::minimums)));
    }
    if (layout == 6)
        // The rate on the part of a corporate overpayment above $10,000, from the data file the program ships.
        insertPublishedRates(db, readPublishedRates(DataFiles::path(DataFiles::rates)),
                             {&RateKinds::largeCorporateOverpayment()});
    if (layout == 5)
        // A taxpayer had one tax year of estimated-tax figures: its payments are that year's.
        db.exec(Sql::estimatedPaymentsToTheirOnlyYear());
}

void steps(SqliteDatabase& db, int from) {
    for (int layout = from + 1; layout <= Schema::version; ++layout) {
        reshape(db, layout);
        fill(db, layout);
    }
}

} // namespace Upgrade
