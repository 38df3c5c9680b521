// What the send check lists and whether it opens; the reading of the
// compose window's recipients and the names from the address index.
#include "outgoing/send_check.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "addressbook/addr_book_refresh.h"
#include "addressbook/halyard_addr_book.h"
#include "addressbook/own_addresses.h"
#include "common/sizes.h"
#include "common/text.h"
#include "host/host_headers.h"
#include "outgoing/send_check_dialog.h"
#include "reply/reply_origins.h"
#include "settings/settings.h"

namespace {

constexpr char kSubdomainPrefix[] = "*.";

struct FieldHeader {
    RecipientField field;
    const char* header;
};
constexpr FieldHeader kFields[] = {
    {RecipientField::kTo, "To"},
    {RecipientField::kCc, "Cc"},
    {RecipientField::kBcc, "Bcc"},
};

// A pattern as the user may write it: blanks around it, an '@' before the
// domain or a final '.' change nothing.
std::string_view CleanPattern(std::string_view pattern) {
    while (!pattern.empty() && (pattern.front() == ' ' || pattern.front() == '\t'))
        pattern.remove_prefix(1);
    while (!pattern.empty() &&
           (pattern.back() == ' ' || pattern.back() == '\t' || pattern.back() == '.'))
        pattern.remove_suffix(1);
    if (!pattern.empty() && pattern.front() == '@') pattern.remove_prefix(1);
    return pattern;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualNoCaseAscii(text.substr(text.size() - suffix.size()), suffix);
}

// The name as the dialog shows it: the index hands it out quoted for a
// header ("Smith, Ann" in double quotes), the user reads it bare.
std::string ShownName(std::string_view name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    return std::string(name);
}

bool SameAddress(const std::string& a, const std::string& b) { return EqualNoCaseAscii(a, b); }

// The recipients of the three headers, group entries expanded by the host.
std::vector<SendRecipient> ReadRecipients(const HostApi& host, HostWindow window) {
    std::vector<SendRecipient> recipients;
    std::vector<char> buffer(kListSize);
    for (const FieldHeader& field : kFields) {
        std::string value = ReadComposeHeader(host, window, field.header, buffer.data(),
                                              buffer.size()).text;
        if (value.empty()) continue;
        if (HostText expanded = SerializeRecipients(host, value.c_str()))
            value.assign(expanded.Get(), strnlen(expanded.Get(), kListSize));
        for (std::string& address : ListAddresses(value))
            recipients.push_back(SendRecipient{field.field, std::move(address)});
    }
    return recipients;
}

SendCheckRules RulesOf(const std::string& dataFolder, const SSettings& settings) {
    SendCheckRules rules;
    rules.manyDomains = settings.manyDomains;
    rules.manyRecipients = settings.manyRecipients;
    // The own addresses' domains are always trusted, whatever the list says.
    for (const std::string& own : ReadOwnAddresses(dataFolder.c_str())) {
        std::string domain = DomainOf(own);
        if (!domain.empty()) rules.trustedDomains.push_back(std::move(domain));
    }
    for (const std::string& pattern : settings.trustedDomains)
        rules.trustedDomains.push_back(pattern);
    return rules;
}

}  // namespace

const char* FieldName(RecipientField field) {
    switch (field) {
    case RecipientField::kCc: return "Cc";
    case RecipientField::kBcc: return "Bcc";
    default: return "To";
    }
}

size_t SendCheckList::RecipientRows() const {
    size_t rows = 0;
    for (const SendCheckGroup& group : groups) rows += group.rows.size();
    return rows;
}

bool DomainMatches(std::string_view domain, std::string_view pattern) {
    pattern = CleanPattern(pattern);
    if (domain.empty() || pattern.empty()) return false;
    if (pattern.substr(0, 2) == kSubdomainPrefix) {
        const std::string_view base = pattern.substr(2);
        if (base.empty()) return false;
        if (EqualNoCaseAscii(domain, base)) return true;
        // A subdomain: the base after a dot, so "badexample.com" is not one.
        return domain.size() > base.size() + 1 && EndsWithNoCase(domain, base) &&
               domain[domain.size() - base.size() - 1] == '.';
    }
    return EqualNoCaseAscii(domain, pattern);
}

bool IsTrustedDomain(std::string_view domain, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return DomainMatches(domain, pattern); });
}

SendCheckList BuildSendCheckList(const std::vector<SendRecipient>& recipients,
                                 const SendCheckRules& rules,
                                 const std::optional<std::vector<std::string>>& conversation,
                                 const BookNameFn& bookName) {
    SendCheckList list;
    SendCheckGroup trusted;
    trusted.trusted = true;
    std::vector<SendCheckGroup> outside;
    std::vector<std::string> seen;
    std::vector<std::string> visibleOutsideDomains;

    for (const SendRecipient& recipient : recipients) {
        if (std::any_of(seen.begin(), seen.end(),
                        [&](const std::string& a) { return SameAddress(a, recipient.address); }))
            continue;
        seen.push_back(recipient.address);

        SendCheckRow row;
        row.field = recipient.field;
        row.address = recipient.address;
        std::string name;
        if (bookName && bookName(recipient.address, &name)) {
            row.listed = true;
            row.name = ShownName(name);
        }
        const std::string domain = DomainOf(recipient.address);
        row.outside = !IsTrustedDomain(domain, rules.trustedDomains);
        if (conversation)
            row.newInConversation = domain.empty() || std::find(conversation->begin(),
                                                                conversation->end(),
                                                                domain) == conversation->end();

        const bool visible = recipient.field != RecipientField::kBcc;
        if (visible) ++list.visibleAddresses;
        if (!row.outside) {
            trusted.rows.push_back(std::move(row));
            continue;
        }
        ++list.outsideRows;
        if (visible && std::find(visibleOutsideDomains.begin(), visibleOutsideDomains.end(),
                                 domain) == visibleOutsideDomains.end())
            visibleOutsideDomains.push_back(domain);
        auto group = std::find_if(outside.begin(), outside.end(),
                                  [&](const SendCheckGroup& g) { return g.domain == domain; });
        if (group == outside.end()) {
            outside.push_back(SendCheckGroup{false, domain, {}});
            group = outside.end() - 1;
        }
        group->rows.push_back(std::move(row));
    }

    list.visibleOutsideDomains = visibleOutsideDomains.size();
    list.warnManyDomains =
        rules.manyDomains > 0 && list.visibleOutsideDomains >= static_cast<size_t>(rules.manyDomains);
    list.warnManyVisible =
        rules.manyRecipients > 0 && list.visibleAddresses >= static_cast<size_t>(rules.manyRecipients);
    if (!trusted.rows.empty()) list.groups.push_back(std::move(trusted));
    for (SendCheckGroup& group : outside) list.groups.push_back(std::move(group));
    return list;
}

bool ShouldShowSendCheck(const SendCheckList& list, bool onlyOutside) {
    if (list.groups.empty()) return false;
    return !onlyOutside || list.outsideRows > 0;
}

int CheckSendRecipients(const Work& work, HostWindow window) {
    return CheckSendRecipients(work, window, ShowSendCheckDialog);
}

int CheckSendRecipients(const Work& work, HostWindow window, const SendCheckDialogFn& dialog) {
    const SSettings* settings = work.settings;
    if (!settings || !settings->sendCheck) return 0;

    const std::vector<SendRecipient> recipients = ReadRecipients(work.host, window);
    if (recipients.empty()) return 0;
    const std::string dataFolder = HostDataFolder(work.host);
    const SendCheckRules rules = RulesOf(dataFolder, *settings);

    // The names the reply rewriting would give: the current folder's group
    // folder first, then the whole index.
    std::string groupFolder;
    SHalyardAddrBook* book = work.addrBook;
    if (book) {
        RefreshAddressBook(work);
        const std::string mailFolder = HostCurrentFolder(work.host);
        groupFolder = book->ResolveFolderGroup(dataFolder.c_str(), mailFolder.c_str());
    }
    const BookNameFn bookName = [&](const std::string& address, std::string* name) {
        char found[kNameSize] = {};
        if (!book || !book->FindName(address.c_str(), found, groupFolder.c_str())) return false;
        *name = found;
        return true;
    };
    std::optional<std::vector<std::string>> conversation;
    if (work.replyOrigins) conversation = work.replyOrigins->Find(window);

    // Everything is read and owned before the dialog's message loop runs:
    // the host may call in again meanwhile.
    const SendCheckList list = BuildSendCheckList(recipients, rules, conversation, bookName);
    if (!ShouldShowSendCheck(list, settings->sendCheckOnlyOutside)) return 0;
    return dialog && dialog(window, list) == 0 ? 0 : -1;
}
