// Dotted version numbers ("4.1.10.0"), compared part by part as numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

constexpr size_t kVersionMaxParts = 8;
constexpr size_t kVersionPartMaxDigits = 9;   // every part fits 32 bits

// One to kVersionMaxParts parts of decimal digits separated by single
// dots; nothing else. False, with parts untouched, otherwise.
bool ParseVersion(std::string_view text, std::vector<uint32_t>* parts);

// Negative, zero or positive as a is older than, equal to or newer than b;
// missing parts count as 0, so "4.1" equals "4.1.0.0".
int CompareVersions(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);
