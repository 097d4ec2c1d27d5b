#pragma once
#include <cstdint>
#include <string>

// value x factor rounded to the nearest integer, when that lies within
// 0..largest; false for anything else, so that no value is wrapped or cut.
bool ScaleToField(double value, double factor, std::uint32_t largest, std::uint32_t& field);

std::string TrimBlanks(const std::string& text);
