// The text that the message view shows for a sender, by the chosen form:
// 0 name (the address when there is none), 1 address, 2 "name <address>",
// 3 "address (name)", any other value the name even when empty.
#pragma once

#include <cstddef>
#include <cstdint>

void FormatSenderText(char* out, size_t outSize, const char* name, const char* address,
                      int32_t format);
