// The question before a reply to all on a mail the user seems to have got
// as a blind copy: answering everybody would show the other recipients that
// the user read it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/work.h"

// Whether a reply to all may reveal a blind copy. own is the user's address
// (empty: unknown, never a reason to ask); sender the base mail's From
// address; visible the addresses of its To and Cc; listMail whether a
// mailing list delivered it. The user's own mail reveals nothing.
bool MayRevealBlindCopy(std::string_view own, std::string_view sender,
                        const std::vector<std::string>& visible, bool listMail);

// With the warning on and the base mail looking like a blind copy, asks
// whether the reply stays a reply to all (default No). True: keep it.
bool KeepReplyToAll(const Work& work, HostWindow window);
