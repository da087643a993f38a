#pragma once

#include "Database.h"

#include <QString>

class QSqlError;

// A database that the record editors may open Qt's table models on: the file's connection, or the server's. What a
// model could not do is thrown as the StoreError its engine says it with.
class QtDatabase : public Database {
public:
    // The Qt connection's name, for Qt's SQL models over the same connection.
    virtual const QString& qtConnectionName() const = 0;
    // Throws the StoreError of a statement a Qt model on this connection could not run.
    [[noreturn]] virtual void refused(const QString& what, const QSqlError& error) = 0;
    // What the program's windows call this database ("the file …", "the database … on the server …").
    virtual QString shown() const = 0;
};
