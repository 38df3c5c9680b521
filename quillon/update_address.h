// The addresses the update check may use: https:// anywhere, http:// only
// to this machine (127.0.0.1 and localhost, for tests). Everything is
// decided before any connection, for the announcement, the installer and
// every redirect alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr size_t kAddressMaxBytes = 2048;
constexpr size_t kHostMaxBytes = 253;
constexpr size_t kInstallerNameMaxBytes = 100;
constexpr uint16_t kHttpPort = 80;
constexpr uint16_t kHttpsPort = 443;

struct UpdateAddress {
    bool secure = false;      // https
    std::string host;         // lower case
    uint16_t port = 0;
    std::string path;         // from the first '/', query kept, fragment dropped
};

// Parses "http[s]://host[:port][/path]". Refuses user names ('@'), hosts
// other than letters, digits, '.' and '-', spaces and control bytes,
// ports outside 1..65535 and anything longer than kAddressMaxBytes.
std::optional<UpdateAddress> ParseUpdateAddress(std::string_view text);

// https, or http to 127.0.0.1 or localhost.
bool IsAllowedAddress(const UpdateAddress& address);

// The text parsed and allowed: the one check made before every connection.
std::optional<UpdateAddress> AllowedAddress(std::string_view text);

// The address a redirect's Location leads to from base: absolute,
// scheme-relative ("//host/..."), absolute path or relative path.
std::string ResolveLocation(const UpdateAddress& base, std::string_view location);

// The installer's file name: the last segment of the path, letters,
// digits, '.', '-' and '_' only, ending in ".exe" or ".msi" (any case).
// Empty when the address gives no such name.
std::string InstallerFileName(const UpdateAddress& address);

// The n-th name tried for a new file: name itself for 0, then
// "stem-1.ext", "stem-2.ext" ...
std::string NumberedFileName(std::string_view name, unsigned n);
