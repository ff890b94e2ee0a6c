#include "StoreState.h"

bool CFileState::operator==(const CFileState& other) const {
    return bExists == other.bExists &&
           (!bExists || (CompareFileTime(&data.ftLastWriteTime, &other.data.ftLastWriteTime) == 0 &&
                         data.nFileSizeLow == other.data.nFileSizeLow &&
                         data.nFileSizeHigh == other.data.nFileSizeHigh));
}

volatile LONG* SharedStoreGeneration() {
    static volatile LONG* const s_pGeneration = [] {
        HANDLE hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             sizeof(LONG), "Local\\CvnKeyStoreGeneration");
        void* pView =
            hMapping ? MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG)) : nullptr;
        return static_cast<volatile LONG*>(pView); // the mapping stays for the process's life
    }();
    return s_pGeneration;
}
