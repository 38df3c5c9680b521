// Shift_JIS (code page 932) and ISO-2022-JP (JIS X 0208 after ESC $ B,
// ASCII after ESC ( B), converted by row and cell arithmetic: the system has
// no converter for this charset. Half-width katakana become their full-width
// JIS X 0208 forms, a following voiced or semi-voiced mark combined where a
// combined form exists. What JIS X 0208 cannot hold (user-defined and IBM
// extension rows, stray bytes) becomes '?'.
#pragma once

#include <string>
#include <string_view>

std::string SjisToIso2022Jp(std::string_view sjis);

// Also reads ESC $ @ (the 1978 set, taken as JIS X 0208), ESC ( J (JIS Roman,
// taken as ASCII) and ESC ( I (half-width katakana).
std::string Iso2022JpToSjis(std::string_view jis);
