#include "view/sender_text.h"

#include <cstdio>
#include <cstring>

#include "common/sizes.h"
#include "common/text.h"

void FormatSenderText(char* out, size_t outSize, const char* name, const char* address,
                      int32_t format) {
    const size_t nameLength = std::strlen(name);
    const size_t addressLength = std::strlen(address);
    // A combined form that would not fit in a name field shows the address alone.
    const bool combinedFits = nameLength + addressLength + 4 < kNameSize;
    switch (format) {
    case 0:
        CopyBounded(out, outSize, nameLength ? name : address);
        break;
    case 1:
        CopyBounded(out, outSize, address);
        break;
    case 2:
        if (!combinedFits)
            CopyBounded(out, outSize, address);
        else if (nameLength)
            std::snprintf(out, outSize, "%s <%s>", name, address);
        else
            std::snprintf(out, outSize, "<%s>", address);
        break;
    case 3:
        if (!combinedFits || !nameLength)
            CopyBounded(out, outSize, address);
        else
            std::snprintf(out, outSize, "%s (%s)", address, name);
        break;
    default:
        CopyBounded(out, outSize, name);
        break;
    }
}
