// Arranging To and Cc of a reply to all, and switching a reply's kind.
#pragma once

#include <cstddef>

#include "host/work.h"
#include "settings/token_list.h"

bool ArrangeReplyAll(const Work& work, HostWindow window);
// Appends every token of text whose address differs (ASCII case ignored)
// from excluded (null excludes nothing). Returns the number added.
size_t CollectAddresses(TokenList& out, const char* text, const char* excluded);
// Appends every token whose address is not empty and is not the address of
// an entry of exclusion (ASCII case ignored). Returns the number added.
size_t FilterAddresses(TokenList& out, const char* text, const TokenList& exclusion);
// Appends "," + entry for each entry to result (a kListSize buffer holding
// a terminated text); false as soon as an entry does not fit into the
// remaining capacity.
bool AppendJoined(char* result, size_t capacity, const TokenList& list);

// Makes the window a reply to the sender only: To the base mail's Reply-To
// (else its From), Cc empty. False when that could not be read whole.
bool AnswerSenderOnly(const Work& work, HostWindow window);

// The compose menu's switches between a reply to the sender and to all.
void SwitchToReply(const Work& work, HostWindow window);
void SwitchToReplyAll(const Work& work, HostWindow window);
