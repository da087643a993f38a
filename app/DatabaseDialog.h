#pragma once

#include "PostgresDatabase.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QRadioButton;

// System > Database…: the file of the data folder, or a firm's server (host or socket folder, port, database, user,
// TLS mode and the firm's root certificate). No password is asked for or kept here: the server's client library reads
// ~/.pgpass, and the program asks once a session when it finds none.
class DatabaseDialog : public QDialog {
    Q_OBJECT
public:
    explicit DatabaseDialog(const std::optional<ServerAddress>& current, QWidget* parent = nullptr);

    // The server chosen, or none for the file; empty when a field names no database.
    std::optional<ServerAddress> chosen() const;
    bool serverChosen() const;
    // How a server is tried before OK takes it: the refusal's message, or nothing when it was reached.
    void setTrial(std::function<std::optional<QString>(const ServerAddress&)> trial);

    // A server is taken only once it has been reached; the dialog stays open, with what was typed, when it is not.
    void accept() override;

private:
    QRadioButton* optFile;
    QRadioButton* optServer;
    QLineEdit* txtHost;
    QLineEdit* txtPort;
    QLineEdit* txtDatabase;
    QLineEdit* txtUser;
    QComboBox* cboTls;
    QLineEdit* txtRootCert;
    std::function<std::optional<QString>(const ServerAddress&)> tryServer;
    void enableFields();
};
