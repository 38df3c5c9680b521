// Warnings about single replies and bare reply subjects.
#pragma once

#include <string_view>

#include "host/work.h"

// True when a reply to the sender leaves out other recipients of the base mail.
bool CheckSingleReply(const Work& work, HostWindow window);
// 0 to let the message go on, -1 to stop it.
int CheckReplySubject(const Work& work, HostWindow window);

// The subject, without the spaces around it, is the reply prefix alone
// ("Re:" in any letter case).
bool IsBareReplySubject(std::string_view subject);
