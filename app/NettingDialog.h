#pragma once

#include "NettingRun.h"

#include <QDialog>

#include <map>

class QLabel;
class QTableWidget;
class RunReporter;

// The netting of a client's returns: each pair of returns that overlap, with the way its overlaps are netted (the
// IRS's, or the other method the user chooses), the benefit as it stands, and the report and the claim text.
class NettingDialog : public QDialog {
    Q_OBJECT
public:
    NettingDialog(QString clientCode, std::vector<TaxpayerCase> cases, RunReporter& reporter,
                  QWidget* parent = nullptr);

    // Runs the netting with the methods chosen; false when a return's run stopped (the reporter has said why).
    bool recompute();
    const NettingRun::Result& result() const { return current; }
    const std::vector<TaxpayerCase>& returns() const { return cases; }
    // The method chosen for the pair (empty: the IRS's way).
    void choose(int under, int over, std::optional<Netting::Method> method);

signals:
    void reportWanted();
    void claimWanted();

private:
    QString clientCode;
    std::vector<TaxpayerCase> cases;
    RunReporter& reporter;
    NettingRun::Result current;
    std::map<std::pair<int, int>, Netting::Method> choices;
    QTableWidget* pairs;
    QLabel* benefit;
    void fillPairs();
};
