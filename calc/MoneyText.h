#pragma once

#include <QString>

// Amounts as the payment form shows its balances: "#,###,###.00" (thousands separators, two decimals, no digit
// before the point below 1, so a zero balance is ".00"). Cents are rounded half to even.
QString balanceText(double amount);
