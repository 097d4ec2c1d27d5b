#pragma once
#include <cstdint>

// value x factor rounded to the nearest integer, when that lies within
// 0..largest; false for anything else, so that no value is wrapped or cut.
bool ScaleToField(double value, double factor, std::uint32_t largest, std::uint32_t& field);

// A fill amount as the handheld keeps it: a whole number of hundredths as
// hundredths (up to 0x7FFFFFFF), any other value as thousandths with bit 31
// set, rounded to the nearest thousandth, where that fits 31 bits (else in
// rounded hundredths).  False for a negative value or one too large.
bool ScaleFillAmount(double value, std::uint32_t& field);
