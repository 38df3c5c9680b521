// What BKA_SerializeRcpts answers when no script rule matches: the list's
// addresses, one a line, as the real host writes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The pieces of a recipient list split at the commas that stand outside
// quoted strings, comments, angle brackets and groups, as RFC 5322 reads
// them: comments nest and honour "\", quoted strings honour "\", a quote
// inside a comment and a parenthesis inside a quoted string are text, a
// group "label: ...;" is one piece. Each piece is kept as written, with
// the blanks around it dropped; empty pieces are dropped.
std::vector<std::string> SplitRecipients(std::string_view list);

// The pieces joined by ",\r\n " (comma, CR, LF, space).
std::string SerializedRecipients(std::string_view list);
