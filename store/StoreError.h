#pragma once

#include <QString>

#include <stdexcept>

// A failure of the store: a file that cannot be opened, a statement the database refused. The message is written
// for the user and is shown as it stands.
class StoreError : public std::runtime_error {
public:
    // What kind of failure it is, where the program does something different for one.
    enum class Kind {
        Failure, // anything else
        InUse,   // another program holds the database locked: trying again later may succeed
        Damaged, // the file is not whole
        Changed, // another user changed the record since it was shown: nothing was written
    };

    // `details`: what the database itself said and the statement it refused, for the error report's details and
    // never for the message.
    explicit StoreError(const QString& message, Kind kind = Kind::Failure, const QString& details = QString())
        : std::runtime_error(message.toStdString()), text(message), what_(kind), more(details) {}
    QString message() const { return text; }
    Kind kind() const { return what_; }
    QString details() const { return more; }

private:
    QString text;
    Kind what_;
    QString more;
};
