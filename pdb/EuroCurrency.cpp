#include "EuroCurrency.h"

#include <algorithm>
#include <iterator>

namespace {
// The euro and the eleven currencies it first replaced.
const char* const kEuroCodes[] = {"EUR", "BEF", "DEM", "ESP", "FRF", "IEP",
                                  "ITL", "LUF", "NLG", "ATS", "PTE", "FIM"};
}  // namespace

bool IsEuroCurrency(const std::string& code) {
    return std::any_of(std::begin(kEuroCodes), std::end(kEuroCodes),
                       [&code](const char* euro) { return code == euro; });
}
