// Property values of a card: how they are written (encoding, charset,
// escapes) and their text in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr unsigned kUtf8CodePage = 65001;
constexpr unsigned kShiftJisCodePage = 932;

// What the parameters of a property say about its value.
struct ValueForm {
    enum class Encoding : uint8_t { kNone, kQuotedPrintable, kBase64 };
    Encoding encoding = Encoding::kNone;
    bool charsetNamed = false;   // a CHARSET parameter was given
    unsigned codePage = 0;       // its code page; 0 when not one we know
};

// What the card as a whole says: 3.0 and 4.0 escape more than 2.1 does,
// and their text is UTF-8 unless a property names another charset.
struct CardDialect {
    bool modern = false;
    unsigned codePage = 0;   // of values without CHARSET; 0: not known
};

// The code page of a charset name (case ignored); 0 for one we do not know.
unsigned CharsetCodePage(std::string_view name);

// The components of a structured value (N, ORG), split at the ';' that are
// not escaped, each still raw.
std::vector<std::string_view> SplitComponents(std::string_view raw, const ValueForm& form,
                                              const CardDialect& dialect);

// A raw value (or component) as text in the ANSI code page: escapes undone,
// quoted-printable or base64 decoded, converted from its charset. A charset
// that is not known or does not convert leaves the decision to the repair
// of CopyLocalText. toLocal false: the decoded bytes as they are.
std::string ReadValue(std::string_view raw, const ValueForm& form, const CardDialect& dialect,
                      bool toLocal);
