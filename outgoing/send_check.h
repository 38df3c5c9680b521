// The send check: before a message leaves, every recipient outside the
// user's trusted domains is listed by header, address-book name and address,
// grouped by domain, and must be ticked one by one. This part decides what
// the dialog lists and whether it opens at all; the dialog is its own file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/work.h"

enum class RecipientField : uint8_t { kTo, kCc, kBcc };
// "To", "Cc", "Bcc": header names, the same in every language.
const char* FieldName(RecipientField field);

// One address of the compose window's recipient headers.
struct SendRecipient {
    RecipientField field;
    std::string address;
};

struct SendCheckRow {
    RecipientField field = RecipientField::kTo;
    std::string address;
    std::string name;        // the address-book name; "" when none
    bool listed = false;     // in an address book
    bool outside = false;    // outside the trusted domains: a box to tick
    bool newInConversation = false;   // a reply's recipient of a domain new to it
};

// The trusted domains' group (at most one, always first), then one group a
// domain outside them, in the order the domains first appear.
struct SendCheckGroup {
    bool trusted = false;
    std::string domain;      // outside groups; "" for the trusted group
    std::vector<SendCheckRow> rows;
};

struct SendCheckList {
    std::vector<SendCheckGroup> groups;
    size_t outsideRows = 0;
    // To and Cc: distinct addresses, and distinct domains outside the
    // trusted ones, for the two warnings.
    size_t visibleAddresses = 0;
    size_t visibleOutsideDomains = 0;
    bool warnManyDomains = false;
    bool warnManyVisible = false;

    size_t RecipientRows() const;
};

struct SendCheckRules {
    // "example.com" trusts that domain; "*.example.com" it and every
    // subdomain of it. Letter case is ignored.
    std::vector<std::string> trustedDomains;
    int manyDomains = 3;       // N: warn from N outside domains in To and Cc; 0 never
    int manyRecipients = 15;   // M: warn from M addresses in To and Cc; 0 never
};

// The address-book name of an address; false when it is in no book.
using BookNameFn = std::function<bool(const std::string& address, std::string* name)>;

bool DomainMatches(std::string_view domain, std::string_view pattern);
bool IsTrustedDomain(std::string_view domain, const std::vector<std::string>& patterns);

// recipients: To, then Cc, then Bcc, in header order; an address met again
// (letter case ignored) keeps its first row. conversation: for a reply, the
// domains of the original's From, To and Cc; nullopt for a new message.
SendCheckList BuildSendCheckList(const std::vector<SendRecipient>& recipients,
                                 const SendCheckRules& rules,
                                 const std::optional<std::vector<std::string>>& conversation,
                                 const BookNameFn& bookName);

// Whether the dialog opens: never without recipients; with onlyOutside only
// when a recipient is outside the trusted domains.
bool ShouldShowSendCheck(const SendCheckList& list, bool onlyOutside);

// Shows the list and answers 0 (Send) or -1 (Cancel).
using SendCheckDialogFn = std::function<int(HostWindow owner, const SendCheckList& list)>;

// The check of BKC_OnOutgoing (mode 0): 0 lets the message go, -1 sends the
// user back to the compose window. Off (the default), it reads nothing.
// dialog: the plug-in's dialog unless a test answers in its place.
int CheckSendRecipients(const Work& work, HostWindow window);
int CheckSendRecipients(const Work& work, HostWindow window, const SendCheckDialogFn& dialog);
