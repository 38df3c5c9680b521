// Feeds arbitrary bytes to the announcement parser and the address rules,
// and checks what must always hold for what they accept.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "quillon/announcement.h"
#include "quillon/update_address.h"
#include "quillon/version_compare.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    Announcement a;
    if (ParseAnnouncement(input, &a) == AnnouncementStatus::Valid) {
        Check(size <= kAnnouncementMaxBytes);
        Check(a.signedLength < size);
        Check(input.compare(a.signedLength, 10, "Signature:") == 0);
        Check(a.size > 0 && a.size <= kInstallerMaxBytes);
        Check(!a.version.empty() && a.version.size() <= kVersionMaxParts);
        Check(CompareVersions(a.version, a.version) == 0);
        Check(!a.installer.empty());
    }

    const std::optional<UpdateAddress> address = ParseUpdateAddress(input);
    if (address) {
        Check(!address->host.empty() && !address->path.empty() && address->path.front() == '/');
        Check(address->port != 0);
        Check(address->host.find_first_of("@:/") == std::string::npos);
        if (!address->secure && IsAllowedAddress(*address)) {
            Check(address->host == "127.0.0.1" || address->host == "localhost");
        }
        const std::string name = InstallerFileName(*address);
        Check(name.empty() || (name.size() <= kInstallerNameMaxBytes &&
                               name.find_first_of("/\\:") == std::string::npos && name.front() != '.'));
        // Redirects resolved from an accepted address stay parseable or are refused, never crash.
        const std::string next = ResolveLocation(*address, input.substr(size / 2));
        (void)ParseUpdateAddress(next);
    }

    std::vector<uint32_t> parts;
    if (ParseVersion(input, &parts)) Check(!parts.empty() && parts.size() <= kVersionMaxParts);
    return 0;
}
