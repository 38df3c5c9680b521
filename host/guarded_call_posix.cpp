#include "host/guarded_call.h"

// Without structured exceptions there is nothing to guard against.
bool CallGuarded(void (*call)(void*), void* context) {
    call(context);
    return true;
}
