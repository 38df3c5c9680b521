// The scans behind the attachment reminder: pure functions over the bytes
// of the subject, the headers and the message text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when one of the patterns occurs in text as a case-sensitive
// substring. Empty patterns never match.
bool ContainsAny(std::string_view text, const std::vector<std::string>& patterns);

// True when one of the words occurs in a line of text that is not a
// quotation (IsQuotedLine with mark and html). Lines end at a line feed.
// A word matches inside longer words ("attach" in "attachment").
bool FindAttachWordIn(std::string_view text, const std::vector<std::string>& words,
                      std::string_view mark, bool html);

// The subject starts with the reply prefix "Re:" in any letter case.
bool HasReplyPrefix(std::string_view subject);

// A Content-Type of a message that already carries parts.
bool IsMultipartWithBoundary(std::string_view contentType);
