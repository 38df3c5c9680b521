// The "mailto:" link of the support contact.
#pragma once

#include <string>
#include <string_view>

// "mailto:" address "?subject=" subject; the subject (ANSI code page) is
// sent as percent-encoded UTF-8, as mail links expect.
std::string SupportMailLink(std::string_view address, std::string_view subject);
