// The guard of the library's exported calls (Exports.cpp): a call that runs out of memory, the
// only exception our code can raise, fails like any other failure instead of unwinding into the
// caller's window procedure.
#pragma once

#include <windows.h>

#include <new>

template <class Call> int CallNoThrow(Call call) noexcept {
    try {
        return call() ? 1 : 0;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
}
