// A settings file edited as text in memory, so that a save can write the
// whole new file at once. Keys are set as the system's private-profile
// writer sets them: a key's line replaced where it stands, a new key after
// the last line of its section, a new section at the end; names compared
// without ASCII case, blanks around them ignored; every other line kept.
#pragma once

#include <string>
#include <string_view>

void SetIniValue(std::string* text, std::string_view section, std::string_view key,
                 std::string_view value);
