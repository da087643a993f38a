#pragma once

#include <QString>

#include <stdexcept>

// A failure of the store: a file that cannot be opened, a statement the database refused. The message is written
// for the user and is shown as it stands.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message) : std::runtime_error(message.toStdString()), text(message) {}
    QString message() const { return text; }

private:
    QString text;
};
