// The inspection of a message about to leave its compose window: the bare
// subject check and the attachment reminder.
#pragma once

#include <string_view>

#include "host/work.h"

class SExtendTemplate;
class TokenList;

// The body of BKC_OnOutgoing: 0 lets the message go, -1 stops it.
// templates: the template engine, null when there is none.
int OnOutgoing(const Work& work, SExtendTemplate* templates, HostWindow window, int mode);

// 0 when the message may go (nothing suggests a missing attachment, or the
// user confirmed), -1 when the user chose to go back and attach.
int CheckAttachment(const Work& work, HostWindow window);
// Reads the compose header into the header buffer; true when it contains
// one of the list's entries (case-sensitive).
bool HeaderExcluded(const Work& work, HostWindow window, const char* header,
                    const TokenList& list);
// True when an attachment word occurs outside the quoted lines of the
// message text.
bool FindAttachWord(const Work& work, HostWindow window, std::string_view text, bool html);
