#include "quillon/update_address.h"

namespace {

constexpr std::string_view kHttps = "https://";
constexpr std::string_view kHttp = "http://";
constexpr uint32_t kPortMax = 65535;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (LowerAscii(text[i]) != prefix[i]) return false;
    }
    return true;
}

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

// Printable ASCII other than space: what a path may hold unescaped.
bool IsPathChar(char c) { return c > 0x20 && c < 0x7F; }

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

std::string Origin(const UpdateAddress& a) {
    std::string text(a.secure ? kHttps : kHttp);
    text += a.host;
    if (a.port != (a.secure ? kHttpsPort : kHttpPort)) text += ":" + std::to_string(a.port);
    return text;
}

}  // namespace

std::optional<UpdateAddress> ParseUpdateAddress(std::string_view text) {
    if (text.size() > kAddressMaxBytes) return std::nullopt;
    UpdateAddress address;
    if (StartsWithNoCase(text, kHttps)) {
        address.secure = true;
        text.remove_prefix(kHttps.size());
    } else if (StartsWithNoCase(text, kHttp)) {
        text.remove_prefix(kHttp.size());
    } else {
        return std::nullopt;
    }
    const size_t hash = text.find('#');
    if (hash != std::string_view::npos) text = text.substr(0, hash);
    for (char c : text) {
        if (!IsPathChar(c)) return std::nullopt;
    }
    const size_t authorityEnd = text.find_first_of("/?");
    std::string_view authority = text.substr(0, authorityEnd);
    std::string_view rest = authorityEnd == std::string_view::npos ? std::string_view() : text.substr(authorityEnd);

    address.port = address.secure ? kHttpsPort : kHttpPort;
    const size_t colon = authority.find(':');
    if (colon != std::string_view::npos) {
        std::string_view port = authority.substr(colon + 1);
        authority = authority.substr(0, colon);
        if (port.empty() || port.size() > 5) return std::nullopt;
        uint32_t value = 0;
        for (char c : port) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + static_cast<uint32_t>(c - '0');
        }
        if (value == 0 || value > kPortMax) return std::nullopt;
        address.port = static_cast<uint16_t>(value);
    }
    if (authority.empty() || authority.size() > kHostMaxBytes) return std::nullopt;
    if (authority.front() == '.' || authority.front() == '-') return std::nullopt;
    for (char c : authority) {
        if (!IsHostChar(c)) return std::nullopt;
        address.host.push_back(LowerAscii(c));
    }
    address.path = rest.empty() || rest.front() != '/' ? "/" + std::string(rest) : std::string(rest);
    return address;
}

bool IsAllowedAddress(const UpdateAddress& address) {
    if (address.secure) return true;
    return address.host == "127.0.0.1" || address.host == "localhost";
}

std::optional<UpdateAddress> AllowedAddress(std::string_view text) {
    std::optional<UpdateAddress> address = ParseUpdateAddress(text);
    if (!address || !IsAllowedAddress(*address)) return std::nullopt;
    return address;
}

std::string ResolveLocation(const UpdateAddress& base, std::string_view location) {
    if (StartsWithNoCase(location, kHttps) || StartsWithNoCase(location, kHttp)) {
        return std::string(location);
    }
    if (location.substr(0, 2) == "//") {
        return std::string(base.secure ? "https:" : "http:") + std::string(location);
    }
    if (!location.empty() && location.front() == '/') return Origin(base) + std::string(location);
    // Relative to the folder of the base path (its query dropped).
    std::string_view basePath(base.path);
    basePath = basePath.substr(0, basePath.find('?'));
    const size_t slash = basePath.rfind('/');
    return Origin(base) + std::string(basePath.substr(0, slash + 1)) + std::string(location);
}

std::string InstallerFileName(const UpdateAddress& address) {
    std::string_view path(address.path);
    path = path.substr(0, path.find('?'));
    const std::string_view name = path.substr(path.rfind('/') + 1);
    if (name.size() > kInstallerNameMaxBytes) return std::string();
    for (char c : name) {
        if (!IsNameChar(c)) return std::string();
    }
    // A name that is only an extension (".exe") or starts with a dot is
    // refused: hidden or confusing files are not what an installer is.
    constexpr size_t kExtensionSize = 4;
    if (name.size() <= kExtensionSize || name.front() == '.') return std::string();
    std::string extension;
    for (char c : name.substr(name.size() - kExtensionSize)) extension.push_back(LowerAscii(c));
    if (extension != ".exe" && extension != ".msi") return std::string();
    return std::string(name);
}

std::string NumberedFileName(std::string_view name, unsigned n) {
    if (n == 0) return std::string(name);
    const size_t dot = name.rfind('.');
    const std::string_view stem = name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    return std::string(stem) + "-" + std::to_string(n) + std::string(extension);
}
