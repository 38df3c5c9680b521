// Shows the sender of the opened mail in the address-book form.
#pragma once

#include <cstddef>

// The text for the current mail's sender; false without settings.
bool BuildSenderView(char* out, size_t outSize);
// Writes that text into the message view's sender window, when known.
void ReplaceSenderView();
