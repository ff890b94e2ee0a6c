#include "LocaleLibrary.h"
#include "resource.h"
#include <cstring>

HMODULE LoadLocaleLibrary() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return nullptr;
    char* slash = strrchr(path, '\\');
    if (!slash)
        return nullptr;
    const char relative[] = "..\\stage\\RuRoredo.DLL";
    if (static_cast<size_t>(slash + 1 - path) + sizeof relative > sizeof path)
        return nullptr;
    strcpy(slash + 1, relative);
    return LoadLibraryA(path);
}

std::string LoadResourceString(HMODULE module, UINT id) {
    char text[1024];
    int length = LoadStringA(module, id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

double ScreenScale() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi / 96.0;
}

RECT ChildRect(HWND dialog, HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ChildRect(HWND dialog, int id) {
    return ChildRect(dialog, GetDlgItem(dialog, id));
}

namespace {

// The panel's layout for fewer keys, in pixels at 96 dpi; -1 leaves a button where it is.
struct KeyCountLayout {
    int nKeys;
    int nRowsHeight;
    int nBottomY;
    int nSettingsY;
    int nDetailY;
    int nClearY;
    int nWindowHeight;
};
const KeyCountLayout kLayouts[] = {
    {4, 357, 380, -1, -1, -1, 450},
    {3, 290, 313, 150, 220, 255, 383},
    {2, 223, 246, 83, 153, 188, 316},
};

void MoveChildTo(HWND dialog, int id, int y) {
    RECT rect = ChildRect(dialog, id);
    SetWindowPos(GetDlgItem(dialog, id), nullptr, rect.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

} // namespace

void ArrangeKeyPanel(HWND dialog, HMODULE library, int keys, const char* (*legend)(int key)) {
    for (int key = 1; key <= keys; ++key) {
        HWND legendStatic = GetDlgItem(dialog, IDC_KEY_LEGEND_FIRST + key - 1);
        SetWindowTextA(legendStatic, legend(key));
        ShowWindow(legendStatic, SW_SHOW);
        HICON hIcon = LoadIconA(library, MAKEINTRESOURCEA(IDI_KEY_BASE + key));
        SendDlgItemMessageA(dialog, IDC_KEY_ICON_FIRST + key - 1, STM_SETICON,
                            reinterpret_cast<WPARAM>(hIcon), 0);
    }
    const KeyCountLayout* layout = nullptr;
    for (const KeyCountLayout& candidate : kLayouts) {
        if (candidate.nKeys == keys)
            layout = &candidate;
    }
    if (!layout)
        return; // other counts leave the template as it is
    for (int key = keys + 1; key <= 6; ++key) {
        ShowWindow(GetDlgItem(dialog, IDC_KEY_BUTTON_FIRST + key - 1), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_KEY_ICON_FIRST + key - 1), SW_HIDE);
    }
    const double scale = ScreenScale();
    auto scaled = [scale](int pixels) { return static_cast<int>(pixels * scale); };
    RECT rows;
    GetClientRect(GetDlgItem(dialog, IDC_PANEL_ROWS), &rows);
    SetWindowPos(GetDlgItem(dialog, IDC_PANEL_ROWS), nullptr, 0, 0, rows.right,
                 scaled(layout->nRowsHeight), SWP_NOMOVE | SWP_NOZORDER);
    MoveChildTo(dialog, IDC_PANEL_CLOSE, scaled(layout->nBottomY));
    MoveChildTo(dialog, ID_HELP, scaled(layout->nBottomY));
    const int commands[][2] = {{IDC_PANEL_SETTINGS, layout->nSettingsY},
                               {IDC_PANEL_DETAIL, layout->nDetailY},
                               {IDC_PANEL_CLEAR, layout->nClearY}};
    for (const auto& command : commands) {
        if (command[1] >= 0)
            MoveChildTo(dialog, command[0], scaled(command[1]));
    }
    RECT window;
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, scaled(layout->nWindowHeight),
                 SWP_NOMOVE | SWP_NOZORDER);
}

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

const void* ResourceData(HMODULE module, LPCSTR name, LPCSTR type, DWORD* size) {
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    *size = found ? SizeofResource(module, found) : 0;
    return loaded ? LockResource(loaded) : nullptr;
}

} // namespace

std::vector<IconImage> IconGroup(HMODULE module, int id) {
    std::vector<IconImage> images;
    DWORD size = 0;
    auto dir = static_cast<const GroupIconDir*>(
        ResourceData(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON, &size));
    if (!dir || size < 6 || size < 6 + dir->wCount * sizeof(GroupIconEntry))
        return images;
    for (WORD i = 0; i < dir->wCount; ++i) {
        const GroupIconEntry& entry = dir->entries[i];
        DWORD imageSize = 0;
        auto header = static_cast<const BITMAPINFOHEADER*>(
            ResourceData(module, MAKEINTRESOURCEA(entry.nId), RT_ICON, &imageSize));
        IconImage image = {entry.bWidth ? entry.bWidth : 256, entry.wBitCount, {}};
        const size_t pixelBytes = static_cast<size_t>(image.nSize) * image.nSize * 4;
        if (header && imageSize >= sizeof(BITMAPINFOHEADER) + pixelBytes &&
            header->biSize == sizeof(BITMAPINFOHEADER) && header->biBitCount == 32 &&
            header->biWidth == image.nSize && header->biHeight == 2 * image.nSize) {
            auto pixels = reinterpret_cast<const BYTE*>(header + 1);
            image.bgra.assign(pixels, pixels + pixelBytes);
        }
        images.push_back(image);
    }
    return images;
}
