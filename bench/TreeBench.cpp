// Prints how long the target tree takes to open a large folder, from the request to open it until
// the tree has painted its first screenful, beside the floor measured in the same run:
//   tree_bench [runs]
// The folders are made once under the bench's own folder (treebench\): 1,000 files, 10,000 files
// (mostly documents, one in five a program, which carries its own picture) and 1,000 subfolders.
// The target tree opens each as a user's + key does, in two kinds of category: the one-folder
// kind, which shows treebench\ itself, and the all-files kind, opened from the drive down to
// treebench\ before the timing starts. The floor is a plain tree control of the same size and
// styles beside it, given the items the target tree shows at that moment: the folder enumerated,
// every entry inserted at the end with redraw off, the item opened and painted; for the all-files
// kind with one probe search per subfolder, which that kind needs to hide folders that cannot be
// listed. The two are timed alternately, after one run of each that is not counted; the bench
// exits with the number of cases over 1.3 times their floor.
#include "../browser/TargetTree.h"
#include "BenchFigures.h"

#include "CHandle.h"
#include "CWinApp.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                           TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
constexpr RECT kTreeRect = {0, 0, 384, 247}; // the settings dialog's tree at 96 dpi
constexpr double kLimit = 1.3;               // times the floor

struct LargeFolder {
    const char* pszName;
    int nEntries;
    bool bFolders;
};
constexpr LargeFolder kFolders[] = {
    {"files1000", 1000, false},
    {"files10000", 10000, false},
    {"folders1000", 1000, true},
};

// The categories of key 1 that the bench shows.
struct Kind {
    const char* pszName;
    int nCategory;
    bool bAllFiles; // opened from the drive down, with the probe searches in its floor
};
constexpr Kind kKinds[] = {{"one folder", 0, false}, {"all files", 1, true}};

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
            CHandle file(CreateFileA(strEntry.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                     nullptr));
            if (!file.IsValid()) {
                return false;
            }
        }
    }
    return CHandle(
               CreateFileA(strDone.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))
        .IsValid();
}

HTREEITEM FindChild(const CTreeCtrl& tree, HTREEITEM hParent, const std::string& strText) {
    for (HTREEITEM hItem = tree.GetChildItem(hParent); hItem;
         hItem = tree.GetNextSiblingItem(hItem)) {
        if (tree.GetItemText(hItem).CompareNoCase(strText.c_str()) == 0) {
            return hItem;
        }
    }
    return nullptr;
}

// The target tree showing the category afresh, with the items of strPath opened one after the
// other from the top (the drive, then each folder) but the last, which is selected and returned;
// null when an item is missing.
HTREEITEM ShowUpTo(CTargetTree& tree, int nCategory, const std::string& strPath) {
    tree.LoadCategory(nCategory);
    HTREEITEM hItem = TVI_ROOT;
    for (size_t nStart = 0; hItem && nStart < strPath.size();) {
        size_t nEnd = std::min(strPath.find('\\', nStart), strPath.size());
        if (hItem != TVI_ROOT) {
            tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
        }
        hItem = FindChild(tree, hItem, strPath.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    if (hItem) {
        tree.SelectItem(hItem);
    }
    return hItem;
}

// Gives the plain tree the items the target tree holds under hFromParent, opened where the
// target's are, so that both open the folder from the same place: a tree scrolls to show the
// children it opens, and that costs the same in both. Returns the copy of hFolder.
HTREEITEM CopyItems(const CTreeCtrl& from, HTREEITEM hFromParent, HWND hTo, HTREEITEM hToParent,
                    HTREEITEM hFolder) {
    HTREEITEM hFolderCopy = nullptr;
    for (HTREEITEM hItem = from.GetChildItem(hFromParent); hItem;
         hItem = from.GetNextSiblingItem(hItem)) {
        CString strText = from.GetItemText(hItem);
        TVINSERTSTRUCTA insert = {};
        insert.hParent = hToParent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
        insert.item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(strText));
        insert.item.cChildren = from.ItemHasChildren(hItem) ? 1 : 0;
        HTREEITEM hCopy = TreeView_InsertItem(hTo, &insert);
        HTREEITEM hInner = CopyItems(from, hItem, hTo, hCopy, hFolder);
        if (from.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) {
            TreeView_Expand(hTo, hCopy, TVE_EXPAND);
        }
        hFolderCopy = hItem == hFolder ? hCopy : hInner ? hInner : hFolderCopy;
    }
    return hFolderCopy;
}

// The floor: what any tree holding the same items pays to show the folder's entries, from
// enumerating them to the first screenful.
double FloorRun(HWND hTree, HTREEITEM hFolder, const std::string& strPath, bool bProbe) {
    TreeView_SelectItem(hTree, hFolder);
    UpdateWindow(hTree);

    LARGE_INTEGER start = Now();
    SendMessageA(hTree, WM_SETREDRAW, FALSE, 0);
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hFolder;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    WIN32_FIND_DATAA found;
    CFindHandle find(FindFirstFileA((strPath + "\\*.*").c_str(), &found));
    for (BOOL bMore = find.IsValid(); bMore; bMore = FindNextFileA(find, &found)) {
        bool bFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (bFolder && bProbe) {
            WIN32_FIND_DATAA inner;
            CFindHandle(
                FindFirstFileA((strPath + "\\" + found.cFileName + "\\*.*").c_str(), &inner));
        }
        insert.item.pszText = found.cFileName;
        insert.item.cChildren = bFolder ? 1 : 0;
        TreeView_InsertItem(hTree, &insert);
    }
    SendMessageA(hTree, WM_SETREDRAW, TRUE, 0);
    TreeView_Expand(hTree, hFolder, TVE_EXPAND);
    UpdateWindow(hTree);
    return Milliseconds(start, Now());
}

// The target tree opening the selected folder with the + key; negative when it did not open.
double TargetRun(CTargetTree& tree, HTREEITEM hFolder) {
    ::UpdateWindow(tree);
    LARGE_INTEGER start = Now();
    tree.SendMessage(WM_KEYDOWN, VK_ADD);
    ::UpdateWindow(tree);
    double dElapsed = Milliseconds(start, Now());
    return tree.GetChildItem(hFolder) ? dElapsed : -1;
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
    const std::string strFolder = strRoot.substr(0, strRoot.size() - 1);
    WritePrivateProfileStringA("SKey1Button0", "Tree", "Folder", strCategories.c_str());
    WritePrivateProfileStringA("SKey1Button0", "FolderName", strFolder.c_str(),
                               strCategories.c_str());
    WritePrivateProfileStringA("SKey1Button1", "Tree", "AllFiles", strCategories.c_str());

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
    for (const Kind& kind : kKinds) {
        for (const LargeFolder& folder : kFolders) {
            // The one-folder kind shows treebench\ itself; the all-files kind starts at the drive.
            std::string strPath = kind.bAllFiles ? strRoot + folder.pszName : folder.pszName;
            std::vector<double> floors;
            std::vector<double> ours;
            for (int nRun = 0; nRun <= nRuns; ++nRun) {
                HTREEITEM hFolder = ShowUpTo(tree, kind.nCategory, strPath);
                TreeView_DeleteAllItems(hPlain);
                HTREEITEM hCopy =
                    hFolder ? CopyItems(tree, TVI_ROOT, hPlain, TVI_ROOT, hFolder) : nullptr;
                double dFloor =
                    hCopy ? FloorRun(hPlain, hCopy, strRoot + folder.pszName, kind.bAllFiles) : -1;
                double dOurs = hCopy ? TargetRun(tree, hFolder) : -1;
                if (dOurs < 0) {
                    std::printf("%s: not found, or it did not open\n", strPath.c_str());
                    return 1;
                }
                if (nRun > 0) {
                    floors.push_back(dFloor);
                    ours.push_back(dOurs);
                }
            }
            std::printf("%s, %s:\n", kind.pszName, folder.pszName);
            double dFloor = Report("  floor", floors);
            double dOurs = Report("  target tree", ours);
            bool bMet = dOurs <= kLimit * dFloor;
            nMissed += bMet ? 0 : 1;
            std::printf("  %.2f times the floor; limit %.1f: %s\n", dOurs / dFloor, kLimit,
                        bMet ? "met" : "MISSED");
        }
    }
    tree.DestroyWindow();
    host.DestroyWindow();
    return nMissed;
}
