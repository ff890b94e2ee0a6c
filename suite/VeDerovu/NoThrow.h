// The library's functions are called from window procedures of other modules, which no C++
// exception may cross. The only one our code can raise is running out of memory, and that fails
// the call like any other failure.
#pragma once

#include <new>

template <class Call> int CallNoThrow(Call call) {
    try {
        return call() ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
