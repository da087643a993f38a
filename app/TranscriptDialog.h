#pragma once

#include "TranscriptImport.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class StepModel;

// The preview of an account transcript's import: every line of the file with what the import does with it, the
// codes it does not know, what to look at afterwards, and whether it makes a new case (of a client) or adds to the
// selected one. Nothing is written here: Import hands the plan on, Cancel drops it.
class TranscriptDialog : public QDialog {
    Q_OBJECT
public:
    TranscriptDialog(const QString& file, Transcript::Account account, TranscriptRules::Rules rules,
                     std::vector<Holiday> holidays, std::optional<TaxpayerCase> selected, QWidget* parent = nullptr);

    // The plan as the dialog stands; empty when it cannot be imported as it stands (the dialog says why).
    const std::optional<TranscriptImport::Plan>& plan() const { return current; }
    QString clientCode() const;
    void setAddToSelected(bool on);

private:
    QString file;
    Transcript::Account account;
    TranscriptRules::Rules rules;
    std::vector<Holiday> holidays;
    std::optional<TaxpayerCase> selected;
    std::optional<TranscriptImport::Plan> current;
    StepModel* model;
    QTableView* steps;
    QLabel* summary;
    QLabel* detail;
    QPlainTextEdit* notes;
    QCheckBox* addToSelected;
    QLineEdit* client;
    QPushButton* importButton;
    void replan();
};
