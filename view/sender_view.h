// Shows the sender of the opened mail in the address-book form.
#pragma once

#include <cstddef>

#include "host/work.h"

// The text for the current mail's sender; false without settings.
bool BuildSenderView(const Work& work, char* out, size_t outSize);
// Writes that text into the message view's sender window (null: unknown).
void ReplaceSenderView(const Work& work, HostWindow senderField);
