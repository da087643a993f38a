#pragma once

#include "FieldText.h"

#include <QSortFilterProxyModel>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QTableView;

// The rows of an editor's table as its list shows them: some columns, each in its field's display form, sortable by
// each, and filtered by a text that any shown value may contain. The text searched is made once a row and kept until
// the rows change, so that filtering a long table costs one comparison a row.
class RecordListModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    struct Column {
        int source; // the column of the table model
        QString caption;
        FieldKind kind;
    };
    RecordListModel(std::vector<Column> columns, QAbstractItemModel* source, QObject* parent = nullptr);

    void setNeedle(const QString& text);
    // Makes the texts searched ahead of the first key, so that no key waits for them.
    void prepareSearch() const;
    const QString& needle() const { return wanted; }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    FieldKind kindOfSection(int section) const;
    // The list's row of a table row (-1 when it is filtered out), and the table row of a list row.
    int listRowOf(int sourceRow) const;
    int sourceRowAt(int listRow) const;
    // The shown text of a source row's cells, joined by two blanks (a deleted row's description).
    QString rowText(int sourceRow) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& parent) const override;
    bool filterAcceptsColumn(int sourceColumn, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    std::vector<Column> columns;
    std::vector<int> shownAt; // by source column: its place in the list, or -1
    QString wanted;
    mutable std::vector<QString> searched; // by source row, folded to lower case
    mutable bool searchedValid = false;
    QString searchText(int sourceRow) const;
};

// The list beside a record form: a filter box, the table of rows and their count.
class RecordList : public QWidget {
    Q_OBJECT
public:
    RecordList(RecordListModel* model, const QString& pluralNoun, QWidget* parent = nullptr);
    QTableView* view() const { return table; }
    bool eventFilter(QObject* watched, QEvent* event) override;
    QLineEdit* filter() const { return filterBox; }
    RecordListModel* model() const { return rows; }
    // Selects the list row of `sourceRow` (none when it is -1 or filtered out) without telling anyone.
    void showSourceRow(int sourceRow);
    void refreshCount();
    QString countText() const;

signals:
    // The user chose a row of the list.
    void chosen(int sourceRow);

private:
    RecordListModel* rows;
    QString plural;
    QLineEdit* filterBox;
    QTableView* table;
    QLabel* count;
    bool quiet = false;
};
