// FormatAddress and RewriteAddressList: recipients in the form the user chose.
#include "addressbook/address_format.h"

#include <cstring>
#include <string>
#include <string_view>

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

// One RFC 2047 encoded word: =?charset?B|Q?text?= without blanks inside.
bool IsEncodedWord(std::string_view word) {
    if (word.size() < 8 || word.substr(0, 2) != "=?" || word.substr(word.size() - 2) != "?=")
        return false;
    std::string_view inner = word.substr(2, word.size() - 4);
    size_t q1 = inner.find('?');
    if (q1 == 0 || q1 == std::string_view::npos || q1 + 2 >= inner.size()) return false;
    char encoding = inner[q1 + 1];
    if (std::strchr("BbQq", encoding) == nullptr || inner[q1 + 2] != '?') return false;
    std::string_view text = inner.substr(q1 + 3);
    if (text.find('?') != std::string_view::npos) return false;
    for (char c : inner) {
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            return false;
    }
    return true;
}

// An ASCII name holding an encoded word among its blank-separated words is
// already in its header form ("=?ISO-2022-JP?B?...?= Taro"); encoding it
// again would show the raw encoded word to the recipient.
bool IsEncodedName(std::string_view name) {
    if (!IsAscii(name)) return false;
    while (!name.empty()) {
        size_t start = name.find_first_not_of(" \t");
        if (start == std::string_view::npos) break;
        name.remove_prefix(start);
        size_t end = name.find_first_of(" \t");
        if (IsEncodedWord(name.substr(0, end))) return true;
        if (end == std::string_view::npos) break;
        name.remove_prefix(end);
    }
    return false;
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
// systems send them as ISO-2022-JP through the host, others as UTF-8.
bool EncodeName(char* out, size_t outSize, const char* name, const HostApi* host) {
    std::string_view text(name);
    if (IsEncodedName(text)) {
        if (text.size() >= outSize) return false;
        CopyBounded(out, outSize, text);
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

void FormatAddress(char* out, size_t outSize, const char* name, const char* address,
                   bool encodeName, const SSettings& settings, const HostApi* host) {
    if (!out || outSize == 0) return;
    out[0] = '\0';
    if (!address) address = "";
    if (!name) name = "";
    int format = ChooseFormat(address, settings);
    if (format != kFormatNameAngle && format != kFormatAddressParen) {
        CopyBounded(out, outSize, address);
        return;
    }
    std::string nameText(kNameTextSize, '\0');
    if (encodeName && name[0] != '\0') {
        // An encoded word is one atom: quotes around the name would be
        // encoded with it and shown to the recipient as part of the name.
        if (!EncodeName(&nameText[0], kNameTextSize, UnquotedDisplayName(name).c_str(),
                        host)) {
            CopyBounded(out, outSize, address);
            return;
        }
    } else {
        QuoteDisplayName(&nameText[0], kNameTextSize, name);
    }
    nameText.resize(std::strlen(nameText.c_str()));
    // A reader ends the comment of "address (name)" at its first ")", quotes
    // or not: the rest of such a name, and the recipients after it, would be
    // read as other recipients. Such a recipient takes the form name <address>.
    if (format == kFormatAddressParen && nameText.find(')') != std::string::npos)
        format = kFormatNameAngle;

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

bool RewriteAddressList(const char* list, bool encodeNames, const char* groupFolder,
                        const ReportUnlistedFn& reportUnlisted, char* out, size_t outSize,
                        const SSettings& settings, SHalyardAddrBook* book, const HostApi* host) {
    if (!out || outSize == 0) return false;
    out[0] = '\0';
    if (!list || list[0] == '\0') return false;
    std::string copy(list);   // tokenized in place; out may be the caller's source
    AddressCursor cursor(&copy[0]);
    char* token = NextAddressToken(cursor);
    if (!token) return false;

    char name[kNameSize];
    char address[kNameSize];
    char entry[2 * kNameSize + 32];
    size_t length = 0;
    for (; token; token = NextAddressToken(cursor)) {
        SplitAddress(name, sizeof name, address, sizeof address, token);
        bool listed = address[0] != '\0' && book && book->FindName(address, name, groupFolder);
        if (!listed && reportUnlisted && address[0] != '\0') reportUnlisted(token);
        const char* text = address;
        if (name[0] != '\0') {
            FormatAddress(entry, sizeof entry, name, address, encodeNames, settings, host);
            text = entry;
        }
        if (!Append(out, outSize, &length, text)) {
            out[0] = '\0';
            return false;
        }
    }
    return length > 0;
}
