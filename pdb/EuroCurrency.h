#pragma once
#include <string>

// Whether a currency code is the euro's or one of the currencies it replaced
// (exact, case-sensitive); the export then shows the euro sign.
bool IsEuroCurrency(const std::string& code);
