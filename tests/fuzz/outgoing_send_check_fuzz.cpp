// Feeds recipient lists to the send check's list. Pieces (NUL-separated):
// To, Cc, Bcc, trusted patterns (comma-separated) and, when present, the
// conversation's lists (a reply); the first byte gives N and M. Checked
// against plain restatements: every address once, under its first header;
// the trusted group first and only trusted rows in it; each other domain
// one group of its own rows; the counts and warnings as counted again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "fuzz/support/fuzz_support.h"
#include "outgoing/send_check.h"
#include "reply/reply_origins.h"

namespace {

using fuzz::Check;

constexpr size_t kPieces = 6;

bool Seen(const std::vector<std::string>& list, const std::string& address) {
    for (const std::string& a : list)
        if (EqualNoCaseAscii(a, address)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t flags = data[0];
    const std::vector<std::string_view> pieces = fuzz::Pieces(fuzz::Text(data + 1, size - 1), kPieces);

    std::vector<SendRecipient> recipients;
    const RecipientField fields[] = {RecipientField::kTo, RecipientField::kCc, RecipientField::kBcc};
    for (size_t i = 0; i < 3; ++i)
        for (std::string& address : ListAddresses(pieces[i]))
            recipients.push_back(SendRecipient{fields[i], std::move(address)});
    SendCheckRules rules;
    for (const std::string& pattern : SplitAt(pieces[3], ',')) rules.trustedDomains.push_back(pattern);
    rules.manyDomains = flags & 0x0F;
    rules.manyRecipients = flags >> 4;
    std::optional<std::vector<std::string>> conversation;
    if (!pieces[4].empty() || !pieces[5].empty()) conversation = ListDomains({pieces[4], pieces[5]});

    const SendCheckList list = BuildSendCheckList(recipients, rules, conversation, nullptr);

    // The reference: first occurrences, letter case ignored.
    std::vector<std::string> distinct;
    std::vector<RecipientField> firstField;
    size_t visible = 0, outside = 0;
    std::vector<std::string> visibleOutsideDomains;
    for (const SendRecipient& r : recipients) {
        if (Seen(distinct, r.address)) continue;
        distinct.push_back(r.address);
        firstField.push_back(r.field);
        const std::string domain = DomainOf(r.address);
        const bool trusted = IsTrustedDomain(domain, rules.trustedDomains);
        if (r.field != RecipientField::kBcc) ++visible;
        if (!trusted) ++outside;
        if (!trusted && r.field != RecipientField::kBcc && !Seen(visibleOutsideDomains, domain))
            visibleOutsideDomains.push_back(domain);
    }
    Check(list.RecipientRows() == distinct.size(), "every address once");
    Check(list.outsideRows == outside, "outside rows counted");
    Check(list.visibleAddresses == visible, "To and Cc addresses counted");
    Check(list.visibleOutsideDomains == visibleOutsideDomains.size(), "outside domains counted");
    Check(list.warnManyDomains == (rules.manyDomains > 0 && visibleOutsideDomains.size() >=
                                                               static_cast<size_t>(rules.manyDomains)),
          "many-domains warning");
    Check(list.warnManyVisible ==
              (rules.manyRecipients > 0 && visible >= static_cast<size_t>(rules.manyRecipients)),
          "many-recipients warning");

    std::vector<std::string> listed, groupDomains;
    for (size_t g = 0; g < list.groups.size(); ++g) {
        const SendCheckGroup& group = list.groups[g];
        Check(!group.rows.empty(), "no empty group");
        Check(!group.trusted || g == 0, "the trusted group first");
        if (!group.trusted) {
            for (const std::string& d : groupDomains) Check(d != group.domain, "one group a domain");
            groupDomains.push_back(group.domain);
        }
        for (const SendCheckRow& row : group.rows) {
            Check(!Seen(listed, row.address), "no address twice");
            listed.push_back(row.address);
            const std::string domain = DomainOf(row.address);
            Check(row.outside == !group.trusted, "a row's box as its group's");
            Check(row.outside == !IsTrustedDomain(domain, rules.trustedDomains), "trusted as matched");
            Check(group.trusted || domain == group.domain, "a row under its own domain");
            Check(!row.listed && row.name.empty(), "no book, no names");
            const bool isNew = conversation.has_value() && !Seen(*conversation, domain);
            Check(row.newInConversation == (isNew || (conversation && domain.empty())),
                  "new in the conversation as its domains say");
            for (size_t i = 0; i < distinct.size(); ++i)
                if (distinct[i] == row.address) Check(firstField[i] == row.field, "the first header kept");
        }
        if (!group.trusted && !group.domain.empty() && group.domain.front() != '.' &&
            group.domain.find_first_of(" \t@*") == std::string::npos &&
            group.domain.back() != '.') {
            Check(DomainMatches(group.domain, group.domain), "a domain matches itself");
            Check(DomainMatches("mail." + group.domain, "*." + group.domain), "a subdomain matches");
            Check(!DomainMatches("x" + group.domain, "*." + group.domain), "a longer name does not");
        }
    }
    return 0;
}
