// Recipient lists: tokenizing, splitting into name and address, formatting
// one recipient, and rewriting a whole list from the address book.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <string>

struct HostApi;
class SSettings;
class SHalyardAddrBook;

// Where the walk of one recipient list stands. Each walk owns its cursor,
// so a second list read while the first is suspended (a message box runs
// the host's messages) never moves the first one's position.
class AddressCursor {
public:
    // Starts a walk of list, which the walk modifies in place (separators
    // become terminators); list may be null, which has no tokens.
    explicit AddressCursor(char* list)
        : rest_(list), end_(list ? list + std::strlen(list) : nullptr) {}

private:
    friend char* NextAddressToken(AddressCursor& cursor);
    char* rest_;   // null once the list is done
    char* end_;    // the list's terminator
};

// The next token of the cursor's list, pointing into the list; nullptr at
// the end, and at every call after it.
char* NextAddressToken(AddressCursor& cursor);

// The address part that SplitAddress yields for a whole text.
std::string AddressOf(const char* text);

// The name and the address of one token, each cut to its buffer and
// trimmed of trailing blanks. With an address in angle brackets the name is
// every word before it (as ReadPhrase reads them); without one, the first
// comment after the address names it.
void SplitAddress(char* nameOut, size_t nameSize, char* addressOut, size_t addressSize,
                  const char* token);

// One recipient in the chosen form into out[0..outSize); name is an
// address-book name (QuoteDisplayName writes it). encodeName writes the name
// as an RFC 2047 encoded word: one that already is encoded stays as it is,
// others are converted (ISO-2022-JP through the host on Japanese systems,
// UTF-8 elsewhere; without a host always UTF-8). A recipient that would not
// fit is the address alone. In the form "address (name)" the name stands
// in the comment as a reader shows it; one that a comment would not give
// back unchanged (a parenthesis, a backslash) is written as name <address>.
void FormatAddress(char* out, size_t outSize, const char* name, const char* address,
                   bool encodeName, const SSettings& settings, const HostApi* host);

using ReportUnlistedFn = std::function<void(const char* token)>;

// Rewrites every recipient of list with its address-book name into
// out[0..outSize). False when the result is empty or would not fit (out is
// then ""). Without an index (book null) nothing is listed; reportUnlisted,
// when given, receives every token with an address that is not listed. A
// name not listed is written to read back as it was read. An entry whose
// new form would not read back as one recipient with its address keeps the
// token's text; when that would not either, the answer is false.
bool RewriteAddressList(const char* list, bool encodeNames, const char* groupFolder,
                        const ReportUnlistedFn& reportUnlisted, char* out, size_t outSize,
                        const SSettings& settings, SHalyardAddrBook* book, const HostApi* host);
