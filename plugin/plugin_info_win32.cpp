#include "plugin/plugin_info.h"

#include <windows.h>

#include <cstring>

#include "common/version.h"

size_t CopyInfoText(char* out, size_t outSize, const char* text) {
    if (!out || outSize == 0) return 0;
    if (!text) text = "";
    size_t length = 0;
    // Step a whole character at a time so that a cut never leaves half of one.
    while (text[length] != '\0') {
        size_t step = 1;
        if (IsDBCSLeadByte(static_cast<BYTE>(text[length])) && text[length + 1] != '\0') step = 2;
        if (length + step > outSize - 1) break;
        length += step;
    }
    std::memcpy(out, text, length);
    out[length] = '\0';
    return length;
}

void FillPlugInInfo(HostPlugInInfo* info, const SVersion* version) {
    if (!info) return;
    auto text = [version](VersionText which) { return version ? version->Text(which) : ""; };
    CopyInfoText(info->name, sizeof info->name, text(VersionText::ProductName));
    CopyInfoText(info->vendor, sizeof info->vendor, text(VersionText::CompanyName));
    CopyInfoText(info->version, sizeof info->version, text(VersionText::ProductVersion));
    CopyInfoText(info->description, sizeof info->description, text(VersionText::Comments));
}
