#include "RecordList.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

RecordListModel::RecordListModel(std::vector<Column> shown, QAbstractItemModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), columns(std::move(shown)) {
    shownAt.assign(size_t(std::max(0, source->columnCount())), -1);
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].source >= 0 && columns[i].source < int(shownAt.size()))
            shownAt[size_t(columns[i].source)] = int(i);
    // Connected before the proxy's own handlers, so that the texts searched are renewed before it filters.
    auto stale = [this] { searchedValid = false; };
    connect(source, &QAbstractItemModel::modelReset, this, stale);
    connect(source, &QAbstractItemModel::rowsInserted, this, stale);
    connect(source, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(source, &QAbstractItemModel::dataChanged, this, stale);
    connect(source, &QAbstractItemModel::layoutChanged, this, stale);
    setSourceModel(source);
    setDynamicSortFilter(true);
}

void RecordListModel::setNeedle(const QString& text) {
    const QString folded = text.trimmed().toCaseFolded();
    if (folded == wanted)
        return;
    wanted = folded;
    invalidateFilter();
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    const QModelIndex source = mapToSource(index);
    const int at = source.column() < int(shownAt.size()) ? shownAt[size_t(source.column())] : -1;
    if (at < 0)
        return QSortFilterProxyModel::data(index, role);
    const Column& c = columns[size_t(at)];
    switch (role) {
    case Qt::DisplayRole:
        return FieldText::shown(c.kind, sourceModel()->data(source, Qt::EditRole));
    case Qt::TextAlignmentRole:
        return (c.kind == FieldKind::Text || c.kind == FieldKind::Date) ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                                        : int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::EditRole:
        return sourceModel()->data(source, Qt::EditRole);
    default:
        return QSortFilterProxyModel::data(index, role);
    }
}

int RecordListModel::listRowOf(int sourceRow) const {
    if (sourceRow < 0 || sourceRow >= sourceModel()->rowCount())
        return -1;
    // Through a shown column: a hidden one maps to nothing.
    for (int c = 0; c < int(shownAt.size()); ++c)
        if (shownAt[size_t(c)] >= 0)
            return mapFromSource(sourceModel()->index(sourceRow, c)).row();
    return -1;
}

int RecordListModel::sourceRowAt(int listRow) const {
    if (listRow < 0 || listRow >= rowCount())
        return -1;
    return mapToSource(index(listRow, 0)).row();
}

FieldKind RecordListModel::kindOfSection(int section) const {
    int seen = 0;
    for (int s = 0; s < int(shownAt.size()); ++s)
        if (shownAt[size_t(s)] >= 0 && seen++ == section)
            return columns[size_t(shownAt[size_t(s)])].kind;
    return FieldKind::Text;
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The list's columns are the shown ones in the table's order.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        int seen = 0;
        for (int s = 0; s < int(shownAt.size()); ++s)
            if (shownAt[size_t(s)] >= 0 && seen++ == section)
                return columns[size_t(shownAt[size_t(s)])].caption;
        return QVariant();
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

QString RecordListModel::searchText(int sourceRow) const {
    QStringList parts;
    for (const Column& c : columns)
        parts << FieldText::shown(c.kind, sourceModel()->data(sourceModel()->index(sourceRow, c.source), Qt::EditRole));
    return parts.join(QStringLiteral("  "));
}

QString RecordListModel::rowText(int sourceRow) const {
    return searchText(sourceRow).simplified();
}

void RecordListModel::prepareSearch() const {
    if (searchedValid)
        return;
    const int n = sourceModel()->rowCount();
    searched.assign(size_t(n), QString());
    for (int r = 0; r < n; ++r)
        searched[size_t(r)] = searchText(r).toCaseFolded();
    searchedValid = true;
}

bool RecordListModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (wanted.isEmpty())
        return true;
    prepareSearch();
    // A row added since (the one being typed) is searched as it is.
    const QString text =
        sourceRow < int(searched.size()) ? searched[size_t(sourceRow)] : searchText(sourceRow).toCaseFolded();
    return text.contains(wanted);
}

bool RecordListModel::filterAcceptsColumn(int sourceColumn, const QModelIndex&) const {
    return sourceColumn >= 0 && sourceColumn < int(shownAt.size()) && shownAt[size_t(sourceColumn)] >= 0;
}

bool RecordListModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = sourceModel()->data(left, Qt::EditRole);
    const QVariant b = sourceModel()->data(right, Qt::EditRole);
    const bool aEmpty = !a.isValid() || a.isNull();
    const bool bEmpty = !b.isValid() || b.isNull();
    if (aEmpty || bEmpty)
        return aEmpty && !bEmpty; // empty values first
    const int at = left.column() < int(shownAt.size()) ? shownAt[size_t(left.column())] : -1;
    const FieldKind kind = at >= 0 ? columns[size_t(at)].kind : FieldKind::Text;
    const auto numeric = [](const QVariant& v) {
        const int t = v.metaType().id();
        return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Double;
    };
    if (kind == FieldKind::Money || kind == FieldKind::Rate || (numeric(a) && numeric(b)))
        return a.toDouble() < b.toDouble();
    if (kind == FieldKind::Date)
        return a.toString() < b.toString(); // stored as yyyy-mm-dd
    return QString::localeAwareCompare(a.toString().toCaseFolded(), b.toString().toCaseFolded()) < 0;
}

RecordList::RecordList(RecordListModel* model, const QString& pluralNoun, QWidget* parent)
    : QWidget(parent), rows(model), plural(pluralNoun) {
    filterBox = new QLineEdit(this);
    filterBox->setObjectName(QStringLiteral("txtFilter"));
    filterBox->setPlaceholderText(QStringLiteral("Filter (Ctrl+F)"));
    filterBox->setClearButtonEnabled(true);
    // The texts searched are made as the box takes the focus (Ctrl+F, a click), before the first key.
    filterBox->installEventFilter(this);
    filterBox->setToolTip(QStringLiteral("Shows only the rows that contain what you type, in any column."));
    table = new QTableView(this);
    table->setObjectName(QStringLiteral("lstRecords"));
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    // The rows keep the table's own order until a column's header is clicked.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    header->setSortIndicatorShown(true);
    // Column widths from the widest value each kind shows, not from reading every row.
    const QFontMetrics metrics = table->fontMetrics();
    for (int c = 0; c < model->columnCount(); ++c) {
        QString widest;
        switch (model->kindOfSection(c)) {
        case FieldKind::Date:
            widest = QStringLiteral("00/00/00000");
            break;
        case FieldKind::Money:
            widest = QStringLiteral("9,999,999.99");
            break;
        case FieldKind::Rate:
            widest = QStringLiteral("00.000%");
            break;
        case FieldKind::Text:
            widest = QString(16, QLatin1Char('n'));
            break;
        }
        const QString caption = model->headerData(c, Qt::Horizontal).toString();
        header->resizeSection(c, std::max(metrics.horizontalAdvance(caption), metrics.horizontalAdvance(widest)) + 18);
    }
    count = new QLabel(this);
    count->setObjectName(QStringLiteral("lblCount"));

    auto* top = new QHBoxLayout;
    top->addWidget(filterBox, 1);
    top->addWidget(count);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(table, 1);
    setMinimumSize(160, 90);

    connect(filterBox, &QLineEdit::textChanged, this, [this](const QString& text) {
        rows->setNeedle(text);
        refreshCount();
    });
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& now, const QModelIndex&) {
                if (quiet || !now.isValid())
                    return;
                emit chosen(rows->mapToSource(now).row());
            });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { refreshCount(); });
    connect(model, &QAbstractItemModel::layoutChanged, this, [this] { refreshCount(); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { refreshCount(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { refreshCount(); });
    refreshCount();
}

bool RecordList::eventFilter(QObject* watched, QEvent* event) {
    // Only when the user brings the focus there: a window opening with it there makes them at the first key.
    if (watched == filterBox && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ShortcutFocusReason || reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
            reason == Qt::BacktabFocusReason)
            rows->prepareSearch();
    }
    return QWidget::eventFilter(watched, event);
}

void RecordList::showSourceRow(int sourceRow) {
    quiet = true;
    const int listRow = rows->listRowOf(sourceRow);
    const QModelIndex at = listRow >= 0 ? rows->index(listRow, 0) : QModelIndex();
    if (at.isValid()) {
        table->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table->scrollTo(at);
    } else {
        table->selectionModel()->clearSelection();
        table->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    }
    quiet = false;
}

QString RecordList::countText() const {
    const int all = rows->sourceModel()->rowCount();
    const int shown = rows->rowCount();
    if (rows->needle().isEmpty())
        return QStringLiteral("%1 %2").arg(all).arg(plural);
    return QStringLiteral("%1 of %2 %3").arg(shown).arg(all).arg(plural);
}

void RecordList::refreshCount() {
    count->setText(countText());
}
