// Which conversation a compose window answers: the domains of the From, To
// and Cc of the message it was opened as a reply to, remembered per window
// so that the send check can tell a domain new to the conversation.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/work.h"

// The domain of an address ("ann@Mail.Example.com" gives "mail.example.com"):
// the text after its last '@', ASCII letters lower-cased; "" without '@'.
std::string DomainOf(std::string_view address);

// The addresses of a recipient list (names, comments and groups read as
// the reply rewriting reads them), in order; entries without one dropped.
std::vector<std::string> ListAddresses(std::string_view list);

// Each domain of the lists' addresses once, in the order first seen.
std::vector<std::string> ListDomains(const std::vector<std::string_view>& lists);

class ReplyOrigins {
public:
    // Windows remembered at most; the oldest is dropped first. A host that
    // runs for weeks opens many more replies than it keeps windows open.
    static constexpr size_t kMaxWindows = 64;

    void Remember(HostWindow window, std::vector<std::string> domains);
    void Forget(HostWindow window);
    // A copy: a box shown meanwhile may let the host open another reply.
    // nullopt when the window was not opened as a reply.
    std::optional<std::vector<std::string>> Find(HostWindow window) const;
    size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        HostWindow window;
        std::vector<std::string> domains;
    };
    std::vector<Entry> entries_;   // oldest first
};

// At BKC_OnOpenCompose: a reply (modes 5, 6, 7) remembers the domains of the
// current mail's From, To and Cc for the window, any other mode forgets the
// window (handles are reused). Nothing is read while the send check is off.
void RememberReplyOrigin(const Work& work, HostWindow window, int mode);
