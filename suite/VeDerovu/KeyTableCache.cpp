#include "KeyTableCache.h"

#include <memory>
#include <mutex>
#include <string>

namespace {

// The counter lives in memory shared by name; without it nothing is kept, and every read goes
// to the file.
volatile LONG* SharedGeneration() {
    static volatile LONG* const s_pGeneration = [] {
        HANDLE hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             sizeof(LONG), "Local\\CvnKeyStoreGeneration");
        void* pView =
            hMapping ? MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG)) : nullptr;
        return static_cast<volatile LONG*>(pView); // the mapping stays for the process's life
    }();
    return s_pGeneration;
}

struct CFileState {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    bool bExists;

    explicit CFileState(const char* pszPath)
        : bExists(GetFileAttributesExA(pszPath, GetFileExInfoStandard, &data) != FALSE) {}

    bool operator==(const CFileState& other) const {
        return bExists == other.bExists &&
               (!bExists ||
                (CompareFileTime(&data.ftLastWriteTime, &other.data.ftLastWriteTime) == 0 &&
                 data.nFileSizeLow == other.data.nFileSizeLow &&
                 data.nFileSizeHigh == other.data.nFileSizeHigh));
    }
};

struct CCachedTable {
    std::string strStore;
    LONG nGeneration;
    CFileState state;
    CKeyTable table;
};

std::mutex g_mutex;
std::unique_ptr<CCachedTable> g_pCached;

} // namespace

bool LookupKeyTable(const char* pszStore, CKeyTable& table) {
    volatile LONG* pGeneration = SharedGeneration();
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!pGeneration || !g_pCached || g_pCached->strStore != pszStore ||
        g_pCached->nGeneration != *pGeneration || !(g_pCached->state == CFileState(pszStore))) {
        return false;
    }
    table = g_pCached->table;
    return true;
}

void RememberKeyTable(const char* pszStore, const CKeyTable& table) {
    volatile LONG* pGeneration = SharedGeneration();
    if (!pGeneration) {
        return;
    }
    auto pCached = std::make_unique<CCachedTable>(
        CCachedTable{pszStore, *pGeneration, CFileState(pszStore), table});
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pCached = std::move(pCached);
}

void AdvanceStoreGeneration() {
    if (volatile LONG* pGeneration = SharedGeneration()) {
        InterlockedIncrement(pGeneration);
    }
}
