// The X-Mailer-Plugin value that names this plug-in among the others.
#pragma once

#include <string>
#include <string_view>

// Distance from the end of a header value below which no tag is added.
constexpr size_t kMailerHeaderReserve = 60;

// The value with "description version" appended after ", " (or alone when
// old is empty) into *out. False when the value stays as it is: it already
// names the plug-in, there is no name to add, or the result would not fit
// into a header value.
bool BuildMailerPluginValue(std::string_view old, std::string_view description,
                            std::string_view version, std::string* out);
