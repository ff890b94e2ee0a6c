// CComHeapPtr: memory that the shell or COM hands out from the task allocator (item-id lists,
// names of storage elements), freed with CoTaskMemFree when the holder goes. The shell's allocator
// (SHGetMalloc) is that same task allocator.
#pragma once

#include <objbase.h>

template <class T> class CComHeapPtr {
public:
    CComHeapPtr() = default;
    explicit CComHeapPtr(T* p) : m_p(p) {}
    ~CComHeapPtr() { CoTaskMemFree(m_p); }
    CComHeapPtr(const CComHeapPtr&) = delete;
    CComHeapPtr& operator=(const CComHeapPtr&) = delete;

    // For a call that hands the memory out through an argument; frees what was held before.
    T** operator&() {
        CoTaskMemFree(m_p);
        m_p = nullptr;
        return &m_p;
    }
    operator T*() const { return m_p; }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};
