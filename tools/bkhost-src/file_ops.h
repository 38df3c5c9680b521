// Files the script writes, deletes and looks at. Paths are UTF-8 Windows
// paths; the wide file functions keep any character.
#pragma once

#include <string>
#include <string_view>

// A full path as it stands ("C:\...", "\\server\..."), otherwise relative
// to the data folder, with '/' read as '\'.
std::string ResolveScriptPath(std::string_view path, const std::string& dataFolder);

// Writes bytes, creating the folders on the way.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
bool ReadFileBytes(const std::string& path, std::string* bytes);
bool PathExists(const std::string& path);
// Deletes a file or a whole folder; a missing path is fine.
bool DeletePath(const std::string& path);
bool CreateFolders(const std::string& folder);
