// Prints how long the target tree takes to open a large folder, from the request to open it until
// the tree has painted its first screenful, beside the floor measured in the same run:
//   tree_bench [runs]
// The folders are made once under the bench's own folder (treebench\): 1,000 files, 10,000 files
// (mostly documents, one in five a program, which carries its own picture) and 1,000 subfolders.
// The target tree shows them as a one-folder category and opens one as a user's + key does. The
// floor is a plain tree control of the same size and styles beside it: the folder enumerated
// (with one probe search per subfolder, which the target tree needs to hide folders that cannot
// be listed), every entry inserted at the end with redraw off, the item opened and painted.
// Both are timed alternately, after one run of each that is not counted.
#include "../browser/TargetTree.h"
#include "BenchFigures.h"

#include "CWinApp.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                           TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
constexpr RECT kTreeRect = {0, 0, 384, 247}; // the settings dialog's tree at 96 dpi

struct LargeFolder {
    const char* pszName;
    int nEntries;
    bool bFolders;
    double dLimitMs; // 0: twice the floor
};
constexpr LargeFolder kFolders[] = {
    {"files1000", 1000, false, 80},
    {"files10000", 10000, false, 0},
    {"folders1000", 1000, true, 0},
};

// Makes the folder's entries unless an earlier run made them all.
bool MakeFolder(const std::string& strRoot, const LargeFolder& folder) {
    std::string strPath = strRoot + folder.pszName;
    std::string strDone = strPath + ".done";
    if (GetFileAttributesA(strDone.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    CreateDirectoryA(strPath.c_str(), nullptr);
    static const char* const kExtensions[] = {".txt", ".doc", ".pdf", ".jpg", ".exe"};
    for (int n = 0; n < folder.nEntries; ++n) {
        char szName[64];
        std::snprintf(szName, sizeof(szName), "\\Entry %05d%s", (n * 7919) % folder.nEntries,
                      folder.bFolders ? "" : kExtensions[n % 5]);
        std::string strEntry = strPath + szName;
        if (folder.bFolders) {
            CreateDirectoryA(strEntry.c_str(), nullptr);
        } else {
            HANDLE hFile =
                CreateFileA(strEntry.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (hFile == INVALID_HANDLE_VALUE) {
                return false;
            }
            CloseHandle(hFile);
        }
    }
    HANDLE hDone =
        CreateFileA(strDone.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(hDone);
    return hDone != INVALID_HANDLE_VALUE;
}

HTREEITEM FindTopItem(const CTreeCtrl& tree, const char* pszText) {
    for (HTREEITEM hItem = tree.GetChildItem(TVI_ROOT); hItem;
         hItem = tree.GetNextSiblingItem(hItem)) {
        if (tree.GetItemText(hItem).CompareNoCase(pszText) == 0) {
            return hItem;
        }
    }
    return nullptr;
}

// The floor: what any tree pays to show the folder's entries under a fresh item.
double FloorRun(HWND hTree, const std::string& strPath, bool bProbe) {
    TreeView_DeleteAllItems(hTree);
    TVINSERTSTRUCTA insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPSTR>("folder");
    insert.item.cChildren = 1;
    HTREEITEM hFolder = TreeView_InsertItem(hTree, &insert);
    UpdateWindow(hTree);

    LARGE_INTEGER start = Now();
    SendMessageA(hTree, WM_SETREDRAW, FALSE, 0);
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((strPath + "\\*.*").c_str(), &found);
    insert.hParent = hFolder;
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = FindNextFileA(hFind, &found)) {
        bool bFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (bFolder && bProbe) {
            WIN32_FIND_DATAA inner;
            HANDLE hProbe =
                FindFirstFileA((strPath + "\\" + found.cFileName + "\\*.*").c_str(), &inner);
            if (hProbe != INVALID_HANDLE_VALUE) {
                FindClose(hProbe);
            }
        }
        insert.item.pszText = found.cFileName;
        insert.item.cChildren = bFolder ? 1 : 0;
        TreeView_InsertItem(hTree, &insert);
    }
    if (hFind != INVALID_HANDLE_VALUE) {
        FindClose(hFind);
    }
    SendMessageA(hTree, WM_SETREDRAW, TRUE, 0);
    TreeView_Expand(hTree, hFolder, TVE_EXPAND);
    UpdateWindow(hTree);
    return Milliseconds(start, Now());
}

// The target tree: the category shown afresh, then the folder opened with the + key.
double TargetRun(CTargetTree& tree, const char* pszName) {
    tree.LoadCategory(0);
    HTREEITEM hFolder = FindTopItem(tree, pszName);
    tree.SelectItem(hFolder);
    ::UpdateWindow(tree);

    LARGE_INTEGER start = Now();
    tree.SendMessage(WM_KEYDOWN, VK_ADD);
    ::UpdateWindow(tree);
    double dElapsed = Milliseconds(start, Now());
    if (!tree.GetChildItem(hFolder)) {
        std::printf("%s did not open\n", pszName);
    }
    return dElapsed;
}

} // namespace

int main(int argc, char* argv[]) {
    int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    AfxInitCommonControls();
    const std::string strRoot = BenchFolder() + "treebench\\";
    CreateDirectoryA(strRoot.c_str(), nullptr);
    for (const LargeFolder& folder : kFolders) {
        if (!MakeFolder(strRoot, folder)) {
            std::printf("cannot make %s%s\n", strRoot.c_str(), folder.pszName);
            return 1;
        }
    }
    const std::string strCategories = strRoot + "categories.ini";
    WritePrivateProfileStringA("SKey1Button0", "Tree", "Folder", strCategories.c_str());
    std::string strFolder = strRoot.substr(0, strRoot.size() - 1);
    WritePrivateProfileStringA("SKey1Button0", "FolderName", strFolder.c_str(),
                               strCategories.c_str());

    WNDCLASSA hostClass = {};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    hostClass.lpszClassName = "VvTreeBench";
    RegisterClassA(&hostClass);
    CWnd host; // reflects the tree's notifications back to it, as the settings dialog does
    host.CreateEx(0, "VvTreeBench", "Tree bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                  RECT{0, 0, 820, 300}, nullptr, 0);
    CTargetTree tree;
    tree.SubclassWindow(CreateWindowExA(0, WC_TREEVIEWA, "", kTreeStyle, kTreeRect.left,
                                        kTreeRect.top, kTreeRect.right, kTreeRect.bottom, host,
                                        nullptr, nullptr, nullptr));
    HWND hPlain = CreateWindowExA(0, WC_TREEVIEWA, "", kTreeStyle, 400, 0, kTreeRect.right,
                                  kTreeRect.bottom, host, nullptr, nullptr, nullptr);
    if (!tree.Init("SKey1", strCategories.c_str(), host, RegisterWindowMessageA("VvTreeBench"))) {
        std::printf("no system image list\n");
        return 1;
    }

    std::printf("opening a folder until the first screenful is painted, %d runs each\n", nRuns);
    int nMissed = 0;
    for (const LargeFolder& folder : kFolders) {
        std::vector<double> floors;
        std::vector<double> ours;
        for (int nRun = 0; nRun <= nRuns; ++nRun) {
            double dFloor = FloorRun(hPlain, strRoot + folder.pszName, folder.bFolders);
            double dOurs = TargetRun(tree, folder.pszName);
            if (nRun > 0) {
                floors.push_back(dFloor);
                ours.push_back(dOurs);
            }
        }
        std::printf("%s:\n", folder.pszName);
        double dFloor = Report("  floor", floors);
        double dOurs = Report("  target tree", ours);
        double dLimit = folder.dLimitMs > 0 ? folder.dLimitMs : 2 * dFloor;
        bool bMet = dOurs <= dLimit;
        nMissed += bMet ? 0 : 1;
        std::printf("  %.2f times the floor; limit %.0f ms: %s\n", dOurs / dFloor, dLimit,
                    bMet ? "met" : "MISSED");
    }
    tree.DestroyWindow();
    host.DestroyWindow();
    return nMissed;
}
