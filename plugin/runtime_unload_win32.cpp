// What the static C++ runtime would leave behind at every unload, and how
// the library avoids it. The runtime is linked into the library, so each
// load brings a fresh copy whose process-lifetime objects are lost when the
// library goes.
#include "plugin/runtime_unload.h"

#include <windows.h>
#include <pthread.h>

#include <cerrno>

// The runtime's own release of its emergency exception buffer (the hook
// that leak checkers call; libstdc++ declares it in no header).
namespace __gnu_cxx {
void __freeres() noexcept;
}

namespace {

// The states of a pthread_once_t: PTHREAD_ONCE_INIT (0), running, done (1,
// as the runtime's own version leaves it).
constexpr LONG kOnceNotRun = 0;
constexpr LONG kOnceDone = 1;
constexpr LONG kOnceRunning = 2;

}  // namespace

// pthread_once, linked in place of the runtime's (-Wl,--wrap=pthread_once).
// The runtime's version records the calling thread as a POSIX thread: an
// event, a copy of the thread handle and a TLS slot, given back only when
// that thread ends. The unwinder calls it as the library loads, on the
// host's thread, which outlives the library: every load would leave them.
extern "C" int __wrap_pthread_once(pthread_once_t* once, void (*init)(void)) {
    if (!once || !init) return EINVAL;
    static_assert(sizeof(pthread_once_t) == sizeof(LONG), "pthread_once_t is a LONG");
    auto* state = reinterpret_cast<volatile LONG*>(once);
    for (;;) {
        const LONG seen = InterlockedCompareExchange(state, kOnceRunning, kOnceNotRun);
        if (seen == kOnceDone) return 0;
        if (seen == kOnceNotRun) {
            init();
            InterlockedExchange(state, kOnceDone);
            return 0;
        }
        // Another thread runs init: wait until it is done.
        SwitchToThread();
    }
}

void ReleaseStaticRuntime() { __gnu_cxx::__freeres(); }
