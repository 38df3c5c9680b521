// Base64 and quoted-printable, as the host's file and header converters
// use them.
#pragma once

#include <string>
#include <string_view>

// Lines of 76 characters, each ended by CR LF.
std::string Base64Encode(std::string_view bytes, bool lineBreaks);
// Characters outside the alphabet are skipped.
std::string Base64Decode(std::string_view text);

// Lines of at most 76 characters with soft breaks; CR LF stays a hard break.
std::string QuotedPrintableEncode(std::string_view bytes);
// headerForm: "_" stands for a space, as in encoded header words.
std::string QuotedPrintableDecode(std::string_view text, bool headerForm);
