// An independent reader of recipient headers, as a mail program reads them:
// RFC 5322 address lists (groups flattened into their members, nested
// comments, quoted pairs, obsolete routes and "." in names) with RFC 2047
// encoded words in display names decoded into the ANSI code page, whose
// double-byte characters it reads whole. A bare address takes the comment
// after it for its name ("address (name)"). The tests run the plug-in's
// output through it and compare the names it sees with the address book.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace headercheck {

struct Mailbox {
    std::string name;      // display name as shown, ANSI code page
    std::string address;   // the bare address, without name or brackets
};

// False, with a reason in *error, when the text is no valid address list.
bool ParseAddressList(std::string_view header, std::vector<Mailbox>* out, std::string* error);

}  // namespace headercheck
