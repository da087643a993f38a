#pragma once

#include <QDate>
#include <QDialog>

#include <vector>

class QLineEdit;
class QListWidget;

// A penalty relief request for the selected case: the date to figure it to, and the conditions of first-time
// abatement as a checklist the user ticks. Report hands them on; the ticks stay while the window is open.
class ReliefDialog : public QDialog {
    Q_OBJECT
public:
    ReliefDialog(const QString& taxpayerName, const QDate& endDate, QWidget* parent = nullptr);

    QDate date() const; // invalid when what is typed is not a date
    QString typedDate() const;
    std::vector<bool> ticked() const;

signals:
    void reportWanted();

private:
    QLineEdit* at;
    QListWidget* checklist;
};
