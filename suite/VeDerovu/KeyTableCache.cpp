#include "KeyTableCache.h"
#include "StoreState.h"

#include <memory>
#include <mutex>
#include <string>

namespace {

struct CCachedTable {
    std::string strStore;
    LONG nGeneration;
    CFileState state;
    CKeyTable table;
    ULONGLONG nServeUntil = 0; // while a held store is shown as it was last read
};

constexpr ULONGLONG HELD_STORE_SERVE_MS = 5000;

std::mutex g_mutex;
std::unique_ptr<CCachedTable> g_pCached;

} // namespace

bool LookupKeyTable(const char* pszStore, CKeyTable& table) {
    volatile LONG* pGeneration = SharedStoreGeneration();
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!pGeneration || !g_pCached || g_pCached->strStore != pszStore) {
        return false;
    }
    if (GetTickCount64() >= g_pCached->nServeUntil &&
        (g_pCached->nGeneration != *pGeneration || g_pCached->state != CFileState(pszStore))) {
        return false;
    }
    table = g_pCached->table;
    return true;
}

bool LastKeyTable(const char* pszStore, CKeyTable& table) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_pCached || g_pCached->strStore != pszStore) {
        return false;
    }
    g_pCached->nServeUntil = GetTickCount64() + HELD_STORE_SERVE_MS;
    table = g_pCached->table;
    return true;
}

void RememberKeyTable(const char* pszStore, const CKeyTable& table) {
    volatile LONG* pGeneration = SharedStoreGeneration();
    if (!pGeneration) {
        return;
    }
    auto pCached = std::make_unique<CCachedTable>(
        CCachedTable{pszStore, *pGeneration, CFileState(pszStore), table});
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pCached = std::move(pCached);
}

void AdvanceStoreGeneration() {
    if (volatile LONG* pGeneration = SharedStoreGeneration()) {
        InterlockedIncrement(pGeneration);
    }
}
