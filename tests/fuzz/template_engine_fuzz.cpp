// Feeds arbitrary compose texts and recipient lists to the template engine
// as the host hands them over: a window in the local code page or in UTF-8,
// To and Cc with entries of a generated address book (western and Japanese
// names, Shift_JIS and UTF-8 cards) before what the input adds. What must
// always hold: every host text is freed; the text before the first command
// is kept; each command reads its header once; and undoing a run of at most
// one command of each kind gives the text back byte for byte, without a
// message.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/compare_address.h"
#include "addressbook/halyard_addr_book.h"
#include "bench/book_generator.h"
#include "common/platform_testing.h"
#include "common/text.h"
#include "fuzz/support/fuzz_host.h"
#include "fuzz/support/fuzz_support.h"
#include "template/extend_template.h"

namespace {

using fuzz::Check;

constexpr BookShape kBookShape{40, 4, 11};

struct Book {
    GeneratedBook generated;
    std::unique_ptr<SHalyardAddrBook> index;
};

// One book for the whole run: the engine only reads it.
const Book& TheBook() {
    static const Book book = [] {
        Book b;
        const std::string data = JoinPath(fuzz::ScratchFolder(), "templates");
        Check(GenerateAddressBook(data, kBookShape, &b.generated), "book generated");
        b.index = std::make_unique<SHalyardAddrBook>(b.generated.root.c_str());
        return b;
    }();
    return book;
}

// count addresses of the book from first on, then the input's own list.
std::string Recipients(size_t first, size_t count, std::string_view more) {
    const std::vector<std::string>& addresses = TheBook().generated.addresses;
    std::string list;
    for (size_t i = 0; i < count; ++i) {
        if (!list.empty()) list += ", ";
        list += addresses[(first + i) % addresses.size()];
    }
    if (!more.empty()) list.append(", ").append(more);
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // First byte: bit 0 UTF-8 window, bit 1 code page, bit 2 IgnoreCase,
    // bits 3-5 how many book entries To and Cc begin with; second byte the
    // first of them. Then the text, a NUL, To's own list, a NUL, Cc's.
    const uint8_t control = data[0];
    platform::testing::SetAnsiCodePage((control & 2) ? 932 : 1252);
    ChooseCompareAddress(control & 4);
    const size_t listed = (control >> 3) & 7;
    const std::vector<std::string_view> pieces = fuzz::Pieces(fuzz::Text(data + 2, size - 2), 3);

    fuzz::ComposeWindow& window = fuzz::Window();
    window = fuzz::ComposeWindow();
    window.utf8 = control & 1;
    window.body = std::string(pieces[0]);
    window.to = Recipients(data[1], listed, pieces[1]);
    window.cc = Recipients(data[1] + listed, listed / 2, pieces[2].substr(0, pieces[2].find('\0')));
    const std::string original = window.body;

    fuzz::FuzzHost host(TheBook().index.get());
    SExtendTemplate engine;
    const bool expanded = engine.ExpandTemplates(host.work(), fuzz::WindowHandle());
    Check(window.liveTexts == 0, "host texts freed after expanding");
    const size_t firstCommand = original.find('$');
    Check(window.body.compare(0, firstCommand, original, 0, firstCommand) == 0,
          "text before the first command kept");
    const size_t dollars = static_cast<size_t>(std::count(original.begin(), original.end(), '$'));
    Check(static_cast<size_t>(window.toReads + window.ccReads) <= dollars, "one header read per command");

    if (expanded && window.toReads <= 1 && window.ccReads <= 1) {
        Check(engine.UndoTemplates(host.host(), fuzz::WindowHandle()), "undo right after expanding");
        Check(window.body == original, "undo gives the text back");
        Check(window.liveTexts == 0, "host texts freed after undoing");
    }
    Check(platform::testing::TakeShownBoxes().empty(), "no message shown");
    ChooseCompareAddress(false);
    return 0;
}
