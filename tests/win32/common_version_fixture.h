// Test modules with a chosen version resource: a copy of the built library
// whose resources are replaced by one hand-built version-information block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace test {

// One string table of a version block: "040904B0" and its name/value pairs.
struct VersionTable {
    std::string key;
    std::vector<std::pair<std::wstring, std::wstring>> values;
};

// Builds the binary layout that GetFileVersionInfo hands out: nested nodes
// of length, value length, type, UTF-16 key, padding, value, children.
class VersionBlockBuilder {
public:
    static std::string Build(const std::vector<VersionTable>& tables,
                             const std::vector<uint32_t>& translations, bool withTranslation) {
        std::string fixed(sizeof(VS_FIXEDFILEINFO), '\0');
        VS_FIXEDFILEINFO info = {};
        info.dwSignature = 0xFEEF04BD;
        info.dwStrucVersion = 0x00010000;
        std::memcpy(&fixed[0], &info, sizeof info);

        std::vector<std::string> stringTables;
        for (const VersionTable& table : tables) {
            std::vector<std::string> strings;
            for (const auto& [name, value] : table.values) {
                std::string text = Utf16(value);
                text.append(2, '\0');
                strings.push_back(Node(name, 1, text, static_cast<uint16_t>(value.size() + 1), {}));
            }
            stringTables.push_back(Node(Wide(table.key), 1, "", 0, strings));
        }
        std::vector<std::string> children{Node(L"StringFileInfo", 1, "", 0, stringTables)};
        if (withTranslation) {
            std::string ids;
            for (uint32_t id : translations) ids.append(reinterpret_cast<const char*>(&id), 4);
            std::string var = Node(L"Translation", 0, ids, static_cast<uint16_t>(ids.size()), {});
            children.push_back(Node(L"VarFileInfo", 1, "", 0, {var}));
        }
        return Node(L"VS_VERSION_INFO", 0, fixed, static_cast<uint16_t>(fixed.size()), children);
    }

private:
    static std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

    static std::string Utf16(const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    }

    static void Pad(std::string& bytes) {
        while (bytes.size() % 4) bytes.push_back('\0');
    }

    static std::string Node(const std::wstring& key, uint16_t type, const std::string& value,
                            uint16_t valueLength, const std::vector<std::string>& children) {
        std::string node(6, '\0');
        node += Utf16(key);
        node.append(2, '\0');
        Pad(node);
        node += value;
        for (const std::string& child : children) {
            Pad(node);
            node += child;
        }
        uint16_t header[3] = {static_cast<uint16_t>(node.size()), valueLength, type};
        std::memcpy(&node[0], header, sizeof header);
        return node;
    }
};

// Copies `from` (a PE file) to `to` and replaces all its resources by the
// version block under the given language. False when the system refuses.
inline bool WriteModuleWithVersion(const std::string& from, const std::string& to,
                                   const std::string& block, WORD language) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
    HANDLE update = BeginUpdateResourceA(to.c_str(), TRUE);
    if (!update) return false;
    bool ok = block.empty() ||
              UpdateResourceA(update, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), language,
                              const_cast<char*>(block.data()), static_cast<DWORD>(block.size()));
    return EndUpdateResourceA(update, ok ? FALSE : TRUE) && ok;
}

}  // namespace test
