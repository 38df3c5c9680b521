#include "reply/mailer_header.h"

#include "common/sizes.h"

bool BuildMailerPluginValue(std::string_view old, std::string_view description,
                            std::string_view version, std::string* out) {
    if (description.empty()) return false;
    if (old.find(description) != std::string_view::npos) return false;
    if (old.size() >= kListSize - kMailerHeaderReserve) return false;

    std::string value(old);
    if (!value.empty()) value += ", ";
    value += description;
    if (!version.empty()) {
        value += ' ';
        value += version;
    }
    if (value.size() >= kListSize) return false;
    *out = std::move(value);
    return true;
}
