#include "LocaleLibrary.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE bWidth;
    BYTE bHeight;
    BYTE bColorCount;
    BYTE bReserved;
    WORD wPlanes;
    WORD wBitCount;
    DWORD dwBytesInRes;
    WORD nId;
};
struct GroupIconDir {
    WORD wReserved;
    WORD wType;
    WORD wCount;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

} // namespace

std::string ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type, WORD language) {
    HRSRC found = FindResourceExA(module, type, name, language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

std::vector<IconImage> IconGroup(HMODULE module, int id) {
    std::vector<IconImage> images;
    const std::string group = ResourceBytes(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    auto dir = reinterpret_cast<const GroupIconDir*>(group.data());
    if (group.size() < 6 || group.size() < 6 + dir->wCount * sizeof(GroupIconEntry))
        return images;
    for (WORD i = 0; i < dir->wCount; ++i) {
        const GroupIconEntry& entry = dir->entries[i];
        const std::string bits = ResourceBytes(module, MAKEINTRESOURCEA(entry.nId), RT_ICON);
        auto header = reinterpret_cast<const BITMAPINFOHEADER*>(bits.data());
        IconImage image = {entry.bWidth ? entry.bWidth : 256, entry.wBitCount, {}};
        const size_t pixelBytes = static_cast<size_t>(image.nSize) * image.nSize * 4;
        if (bits.size() >= sizeof(BITMAPINFOHEADER) + pixelBytes &&
            header->biSize == sizeof(BITMAPINFOHEADER) && header->biBitCount == 32 &&
            header->biWidth == image.nSize && header->biHeight == 2 * image.nSize) {
            auto pixels = reinterpret_cast<const BYTE*>(header + 1);
            image.bgra.assign(pixels, pixels + pixelBytes);
        }
        images.push_back(image);
    }
    return images;
}
