#pragma once

#include <QString>
#include <QVariant>

// How an editor field shows its stored value and reads back what the user typed.
enum class FieldKind { Text, Date, Money, Rate };

namespace FieldText {
// The text shown while the field does not have the focus ("MM/dd/yyyy", "#,##0.00", "0.00%").
QString shown(FieldKind kind, const QVariant& stored);
// The text shown while editing (a rate as "0.00", for example 0.07).
QString editing(FieldKind kind, const QVariant& stored);
// The value to store for `text`; empty text stores empty. False when the text is not a value of its kind (an amount
// is at most Schema::largestAmount either way).
bool parse(FieldKind kind, const QString& text, int maxLength, QVariant* stored);
} // namespace FieldText
