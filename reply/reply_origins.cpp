#include "reply/reply_origins.h"

#include <algorithm>

#include "addressbook/address_format.h"
#include "common/sizes.h"
#include "host/host_headers.h"
#include "settings/settings.h"

namespace {

constexpr int kModeReply = 5;
constexpr int kModeReplyAll = 6;
constexpr int kModeReplyThird = 7;

constexpr const char* kOriginHeaders[] = {"From", "To", "Cc"};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string DomainOf(std::string_view address) {
    const size_t at = address.rfind('@');
    if (at == std::string_view::npos) return {};
    std::string domain(address.substr(at + 1));
    // "ann@example.com." names the same domain as "ann@example.com".
    while (!domain.empty() && domain.back() == '.') domain.pop_back();
    std::transform(domain.begin(), domain.end(), domain.begin(), LowerAscii);
    return domain;
}

std::vector<std::string> ListAddresses(std::string_view list) {
    std::vector<std::string> addresses;
    if (list.empty()) return addresses;
    std::string copy(list);   // the tokenizer cuts its list in place
    char name[kNameSize];
    char address[kNameSize];
    AddressCursor cursor(&copy[0]);
    for (char* token = NextAddressToken(cursor); token; token = NextAddressToken(cursor)) {
        SplitAddress(name, sizeof name, address, sizeof address, token);
        if (address[0] != '\0') addresses.emplace_back(address);
    }
    return addresses;
}

std::vector<std::string> ListDomains(const std::vector<std::string_view>& lists) {
    std::vector<std::string> domains;
    for (std::string_view list : lists) {
        for (const std::string& address : ListAddresses(list)) {
            std::string domain = DomainOf(address);
            if (domain.empty()) continue;
            if (std::find(domains.begin(), domains.end(), domain) == domains.end())
                domains.push_back(std::move(domain));
        }
    }
    return domains;
}

void ReplyOrigins::Remember(HostWindow window, std::vector<std::string> domains) {
    Forget(window);
    if (entries_.size() >= kMaxWindows) entries_.erase(entries_.begin());
    entries_.push_back(Entry{window, std::move(domains)});
}

void ReplyOrigins::Forget(HostWindow window) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [window](const Entry& e) { return e.window == window; }),
                   entries_.end());
}

std::optional<std::vector<std::string>> ReplyOrigins::Find(HostWindow window) const {
    for (const Entry& entry : entries_)
        if (entry.window == window) return entry.domains;
    return std::nullopt;
}

void RememberReplyOrigin(const Work& work, HostWindow window, int mode) {
    ReplyOrigins* origins = work.replyOrigins;
    if (!origins) return;
    const bool reply = mode == kModeReply || mode == kModeReplyAll || mode == kModeReplyThird;
    if (!reply || !work.settings || !work.settings->sendCheck) {
        origins->Forget(window);
        return;
    }
    std::vector<std::string> values;
    std::vector<char> buffer(kListSize);
    for (const char* header : kOriginHeaders)
        values.emplace_back(ReadMailHeader(work.host, header, buffer.data(), buffer.size()).text);
    origins->Remember(window, ListDomains({values.begin(), values.end()}));
}
