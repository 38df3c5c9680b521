// FormatAddress and RewriteAddressList: recipients in the form the user chose.
#include "addressbook/address_format.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/address_syntax.h"
#include "addressbook/display_name.h"
#include "addressbook/halyard_addr_book.h"
#include "common/base64.h"
#include "common/platform.h"
#include "common/sizes.h"
#include "common/text.h"
#include "host/host_api.h"
#include "settings/settings.h"

namespace {

// The name is prepared in a buffer of this size, encoded or quoted.
constexpr size_t kNameTextSize = 4096;
// The longest recipient written, terminator included.
constexpr size_t kRecipientSize = kNameSize;

constexpr int kFormatNameAngle = 2;
constexpr int kFormatAddressParen = 3;

int ChooseFormat(const char* address, const SSettings& settings) {
    int format = settings.replyFormat;
    if (const char* at = std::strchr(address, '@')) {
        for (const std::string& domain : settings.domains) {
            if (std::strcmp(at + 1, domain.c_str()) == 0) {
                format = settings.groupFormat;
                break;
            }
        }
    }
    if (format == 0) format = settings.hostAddressFormat;
    return format;
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// "=?charset?B?...?=" of bytes into out; false when it would not fit.
bool WriteEncodedWord(char* out, size_t outSize, const char* charset, std::string_view bytes) {
    size_t encodedLength = (bytes.size() + 2) / 3 * 4;
    size_t total = std::strlen(charset) + encodedLength + 6;   // "=?" "?B?" "?="
    if (bytes.size() > outSize || total >= outSize) return false;
    Base64Encoder encoder;
    const char* encoded = encoder.Encode(bytes.data(), static_cast<int>(bytes.size()));
    std::string word = "=?";
    word += charset;
    word += "?B?";
    word += encoded ? encoded : "";
    word += "?=";
    if (word.size() >= outSize) return false;
    CopyBounded(out, outSize, word);
    return true;
}

// The name as an encoded word. Names are local code page text: Japanese
// systems send them as ISO-2022-JP through the host, others as UTF-8. An
// ASCII name that holds encoded words already is in its header form
// ("=?ISO-2022-JP?B?...?= Taro"): encoding it again would show the raw
// encoded word to the recipient, so only its other words are quoted where
// they need it.
bool EncodeName(char* out, size_t outSize, const char* name, const HostApi* host) {
    std::string_view text(name);
    if (IsAscii(text) && HoldsEncodedWord(text)) {
        const std::string written = PhraseOf(text);
        if (written.size() >= outSize) return false;
        CopyBounded(out, outSize, written);
        return true;
    }
    if (IsAscii(text)) return WriteEncodedWord(out, outSize, "ISO-2022-JP", text);
    if (platform::AnsiCodePage() == 932 && host && host->ISO_2022_JP) {
        HostText jis(*host, host->ISO_2022_JP(name, 1));
        if (jis) {
            const void* end = std::memchr(jis.Get(), '\0', outSize);
            if (!end) return false;
            size_t length = static_cast<const char*>(end) - jis.Get();
            return WriteEncodedWord(out, outSize, "ISO-2022-JP", std::string_view(jis.Get(), length));
        }
    }
    std::string utf8 = platform::AnsiToUtf8(text);
    if (utf8.empty()) return false;
    return WriteEncodedWord(out, outSize, "UTF-8", utf8);
}

// Whether entry, written into a list, reads back as one recipient with
// this address and, unless it is the last, leaves nothing open that would
// take in the entries after it.
bool ReadsBackAs(std::string_view entry, const char* address, bool last) {
    std::string copy(entry);
    AddressCursor cursor(&copy[0]);
    const char* token = NextAddressToken(cursor);
    if (!token || NextAddressToken(cursor)) return false;
    return AddressOf(token) == address && (last || !EndsOpen(entry));
}

// Whether the joined list reads back as recipients with these addresses,
// in this order: entries that each read back alone may still run into each
// other.
bool ReadsBackAsList(const char* list, const std::vector<std::string>& addresses) {
    std::string copy(list);
    AddressCursor cursor(&copy[0]);
    size_t i = 0;
    for (const char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
        if (i == addresses.size() || AddressOf(token) != addresses[i]) return false;
        ++i;
    }
    return i == addresses.size();
}

// Appends entry to the ','-joined list in out; false when it would not fit.
bool Append(char* out, size_t outSize, size_t* length, std::string_view entry) {
    if (entry.size() + *length + 2 > outSize) return false;
    if (*length > 0) out[(*length)++] = ',';
    std::memcpy(out + *length, entry.data(), entry.size());
    *length += entry.size();
    out[*length] = '\0';
    return true;
}

}  // namespace

namespace {

// Whether a name read from a comment ("address (name)") comes back as
// exactly this text: a parenthesis or backslash would be read as comment
// syntax, a lead byte at the end would take the ')' for its second byte,
// and quotes in a comment are plain text.
bool ReadsBackFromComment(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (LeadByteAt(text, i)) {
            ++i;
            continue;
        }
        if (platform::IsLeadByte(static_cast<unsigned char>(text[i]))) return false;
        if (text[i] == '(' || text[i] == ')' || text[i] == '\\') return false;
    }
    return true;
}

// One recipient from a name in two forms: as the list writes it (quoted
// where needed) and as a reader shows it.
void FormatRecipient(char* out, size_t outSize, const std::string& written,
                     const std::string& shown, const char* address, bool encodeName,
                     const SSettings& settings, const HostApi* host) {
    out[0] = '\0';
    int format = ChooseFormat(address, settings);
    if (format != kFormatNameAngle && format != kFormatAddressParen) {
        CopyBounded(out, outSize, address);
        return;
    }
    // In "address (name)" a reader takes the comment's text as the name, so
    // the name stands there as it reads, unquoted.
    std::string nameText = written;
    std::string commentText = shown;
    bool commentReadsBack = ReadsBackFromComment(shown);
    if (encodeName && !shown.empty()) {
        // An encoded word is one atom: quotes around the name would be
        // encoded with it and shown to the recipient as part of the name.
        std::string encoded(kNameTextSize, '\0');
        if (!EncodeName(&encoded[0], kNameTextSize, shown.c_str(), host)) {
            CopyBounded(out, outSize, address);
            return;
        }
        encoded.resize(std::strlen(encoded.c_str()));
        nameText = encoded;
        commentText = encoded;
        // Quotes around the words beside encoded ones are text in a comment.
        commentReadsBack = encoded.find('"') == std::string::npos;
    }
    // A name that would not come back from a comment as it is takes the
    // form name <address> instead.
    if (format == kFormatAddressParen) {
        if (commentReadsBack) nameText = commentText;
        else format = kFormatNameAngle;
    }

    size_t addressLength = std::strlen(address);
    size_t total = nameText.size() + addressLength + 4;   // " <>" or " ()" and NUL
    if (total >= kRecipientSize || total > outSize) {
        CopyBounded(out, outSize, address);
        return;
    }
    std::string result;
    if (format == kFormatNameAngle) {
        result = nameText + " <" + address + ">";
    } else {
        result = std::string(address) + " (" + nameText + ")";
    }
    CopyBounded(out, outSize, result);
}

}  // namespace

void FormatAddress(char* out, size_t outSize, const char* name, const char* address,
                   bool encodeName, const SSettings& settings, const HostApi* host) {
    if (!out || outSize == 0) return;
    std::string written(kNameTextSize, '\0');
    QuoteDisplayName(&written[0], kNameTextSize, name ? name : "");
    written.resize(std::strlen(written.c_str()));
    FormatRecipient(out, outSize, written, ReadPhrase(written), address ? address : "",
                    encodeName, settings, host);
}

bool RewriteAddressList(const char* list, bool encodeNames, const char* groupFolder,
                        const ReportUnlistedFn& reportUnlisted, char* out, size_t outSize,
                        const SSettings& settings, SHalyardAddrBook* book, const HostApi* host) {
    if (!out || outSize == 0) return false;
    out[0] = '\0';
    if (!list || list[0] == '\0') return false;
    std::string copy(list);   // tokenized in place; out may be the caller's source
    std::vector<const char*> tokens;
    AddressCursor cursor(&copy[0]);
    for (const char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor))
        tokens.push_back(token);
    if (tokens.empty()) return false;

    char name[kNameSize];
    char address[kNameSize];
    char entry[2 * kNameSize + 32];
    size_t length = 0;
    std::vector<std::string> entryAddresses;   // the address of every entry written
    for (size_t i = 0; i < tokens.size(); ++i) {
        const char* token = tokens[i];
        SplitAddress(name, sizeof name, address, sizeof address, token);
        bool listed = address[0] != '\0' && book && book->FindName(address, name, groupFolder);
        if (!listed && reportUnlisted && address[0] != '\0') reportUnlisted(token);
        const char* text = address;
        if (name[0] != '\0') {
            // A listed name comes quoted as the list writes it; a name read
            // from the list is written so that it reads back as it was read.
            const std::string written = listed ? std::string(name) : PhraseOf(name);
            const std::string shown = listed ? ReadPhrase(name) : std::string(name);
            FormatRecipient(entry, sizeof entry, written, shown, address, encodeNames, settings,
                            host);
            text = entry;
        }
        const bool last = i + 1 == tokens.size();
        if (text[0] != '\0' && !ReadsBackAs(text, address, last)) {
            // An address that its new form would split, merge or lose stays
            // as it was written; one that cannot leaves the list unchanged.
            text = token;
            if (!ReadsBackAs(text, address, last)) {
                out[0] = '\0';
                return false;
            }
        }
        if (!Append(out, outSize, &length, text)) {
            out[0] = '\0';
            return false;
        }
        if (text[0] != '\0') entryAddresses.emplace_back(address);
    }
    if (!ReadsBackAsList(out, entryAddresses)) {
        out[0] = '\0';
        return false;
    }
    return length > 0;
}
