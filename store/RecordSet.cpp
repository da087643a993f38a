#include "RecordSet.h"

#include <stdexcept>

int RecordSet::fieldIndex(const QString& name) const {
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const QVariant& RecordSet::value(int row, const QString& field) const {
    const int index = fieldIndex(field);
    if (index < 0)
        throw std::out_of_range("no field named " + field.toStdString());
    return value(row, index);
}
