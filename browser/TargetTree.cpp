#include "TargetTree.h"

#include "../base/KeySettingsFile.h"

#include "CChangeGuard.h"
#include "CComHeapPtr.h"
#include "CFileFind.h"
#include "CWaitCursor.h"

#include <algorithm>
#include <shellapi.h>
#include <shlobj.h>
#include <string>

namespace {

constexpr int kTextSize = MAX_PATH;

// One entry of a folder level, as it will be inserted.
struct Entry {
    CString strName;
    bool bFolder;
    LPARAM nTag;
    std::string strSortKey;
};

// The order in which the tree control itself sorts its items (TVI_SORT): the linguistic
// comparison of the thread's locale, taken once per name as a sort key instead of once per pair.
std::string SortKey(LPCSTR pszName) {
    WCHAR szWide[kTextSize];
    if (!MultiByteToWideChar(CP_ACP, 0, pszName, -1, szWide, kTextSize)) {
        szWide[0] = L'\0';
    }
    // A key takes a few bytes per character; this holds one for any name that fits the tree.
    BYTE key[kTextSize * 8];
    int nSize = LCMapStringW(GetThreadLocale(), LCMAP_SORTKEY, szWide, -1,
                             reinterpret_cast<LPWSTR>(key), sizeof(key));
    return std::string(reinterpret_cast<const char*>(key), static_cast<size_t>(nSize));
}

// Files of these kinds are parts of programs and the system, not targets; the test is on the
// start of the extension, so .info, .data and .axd go too, and it applies to folders alike.
bool HiddenByExtension(const CString& strName) {
    CString strExtension = LowerExtension(strName);
    for (LPCSTR pszHidden : {".dll", ".ocx", ".nls", ".ini", ".sys", ".inf", ".dat"}) {
        if (strncmp(strExtension, pszHidden, 4) == 0) {
            return true;
        }
    }
    return strncmp(strExtension, ".ax", 3) == 0;
}

// A folder whose search finds nothing cannot be listed (even an empty one holds . and ..).
bool CanBeListed(const CString& strFolder) {
    CFileFind probe;
    return probe.FindFile(strFolder + "\\*.*") != FALSE;
}

// Calls onEntry(name, isFolder) for every entry of the folder but . and .., in search order.
template <class OnEntry> void ForEachEntry(const CString& strFolder, OnEntry onEntry) {
    CFileFind finder;
    BOOL bMore = finder.FindFile(strFolder + "\\*.*");
    while (bMore) {
        bMore = finder.FindNextFile();
        if (!finder.IsDots()) {
            onEntry(finder.GetFileName(), finder.IsDirectory() != FALSE);
        }
    }
}

// A folder or drive has an expand button before anything under it has been read.
HTREEITEM InsertChild(CTreeCtrl& tree, HTREEITEM hParent, LPCSTR pszText, int nImage,
                      int nSelectedImage, bool bFolder, LPARAM nTag) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>(pszText);
    insert.item.iImage = nImage;
    insert.item.iSelectedImage = nSelectedImage;
    insert.item.cChildren = bFolder ? 1 : 0;
    insert.item.lParam = nTag;
    return tree.InsertItem(&insert);
}

CString SpecialFolderPath(HWND hOwner, int nFolder) {
    char szPath[MAX_PATH] = {};
    CComHeapPtr<ITEMIDLIST> pidl;
    if (SUCCEEDED(SHGetSpecialFolderLocation(hOwner, nFolder, &pidl)) && pidl &&
        !SHGetPathFromIDListA(pidl, szPath)) {
        szPath[0] = '\0';
    }
    return szPath;
}

} // namespace

BEGIN_MESSAGE_MAP(CTargetTree, CTreeCtrl)
ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, OnItemExpanding)
ON_NOTIFY_REFLECT(TVN_SELCHANGING, OnSelChanging)
ON_NOTIFY_REFLECT(TVN_GETDISPINFO, OnGetDispInfo)
END_MESSAGE_MAP()

CTargetTree::~CTargetTree() {
    // The system image list belongs to the shell and to every other program using it.
    m_imageList.Detach();
}

BOOL CTargetTree::Init(LPCSTR pszKeyName, LPCSTR pszCategoryFile, HWND hNotifyWnd,
                       UINT nNotifyMsg) {
    SHFILEINFOA info = {};
    auto hSystemList = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (!hSystemList) {
        return FALSE;
    }
    m_imageList.Detach();
    m_imageList.Attach(hSystemList);
    m_strCategoryFile = pszCategoryFile;
    m_strSectionPrefix = CString(pszKeyName) + "Button";
    m_hNotifyWnd = hNotifyWnd;
    m_nNotifyMsg = nNotifyMsg;
    return TRUE;
}

BOOL CTargetTree::LoadCategory(int nCategory) {
    CString strSection;
    strSection.Format("%s%d", static_cast<LPCSTR>(m_strSectionPrefix), nCategory);
    CKeySettingsFile file(m_strCategoryFile);
    CString strTree = file.GetCategoryValue(strSection, "Tree");
    strTree.MakeUpper();

    // Everything that can fail is settled before the tree changes, so that a category that
    // cannot be shown leaves the tree, its kind and its roots as they were, and selections in it
    // are still reported.
    int nKind = kindNone;
    CString strRoot1;
    if (strTree == "ALLFILES") {
        nKind = kindAllFiles;
    } else if (strTree == "PROGRAM FILES") {
        nKind = kindPrograms;
    } else if (strTree == "FAVORITES") {
        nKind = kindFavorites;
        strRoot1 = SpecialFolderPath(m_hWnd, CSIDL_FAVORITES);
    } else if (strTree == "FOLDER") {
        nKind = kindFolder;
        strRoot1 = file.GetCategoryValue(strSection, "FolderName");
    } else if (strTree == "CONTROLPANEL") {
        nKind = kindControlPanel;
    }
    if (nKind == kindNone ||
        ((nKind == kindFavorites || nKind == kindFolder) && strRoot1.IsEmpty())) {
        return FALSE;
    }

    m_nKind = nKind;
    if (nKind == kindControlPanel) {
        return TRUE; // nothing of its own to show: the tree keeps what it showed
    }
    CWaitCursor wait;
    CChangeGuard filling(m_bFilling);
    m_nShownKind = nKind;
    m_strRoot1 = strRoot1;
    m_strRoot2.Empty();
    switch (nKind) {
    case kindAllFiles:
        FillAllFiles();
        break;
    case kindPrograms:
        FillPrograms();
        break;
    default:
        BeginFill();
        AddFolderEntries(m_strRoot1, TVI_ROOT);
        break;
    }
    return TRUE;
}

void CTargetTree::BeginFill() {
    DeleteAllItems();
    m_folders.clear();
    SetImageList(&m_imageList, TVSIL_NORMAL);
}

void CTargetTree::FillAllFiles() {
    BeginFill();
    m_strRoot1 = SpecialFolderPath(m_hWnd, CSIDL_COMMON_DESKTOPDIRECTORY);
    m_strRoot2 = SpecialFolderPath(m_hWnd, CSIDL_DESKTOP);
    char szDrives[512] = {};
    DWORD nLength = GetLogicalDriveStringsA(sizeof(szDrives), szDrives);
    if (nLength == 0 || nLength > sizeof(szDrives)) {
        return;
    }

    // The drives come first, in the system's order, up to the first whose pictures the shell
    // cannot give (counted from the end of the list): that one and all before it are left out.
    struct Drive {
        CString strRoot;
        int nImage;
        int nSelectedImage;
    };
    std::vector<Drive> drives;
    for (LPCSTR pszRoot = szDrives; *pszRoot; pszRoot += strlen(pszRoot) + 1) {
        drives.push_back({pszRoot, 0, 0});
    }
    auto firstShown = drives.end();
    while (firstShown != drives.begin()) {
        Drive& drive = *(firstShown - 1);
        if (!ShellIconIndex(drive.strRoot, FALSE, &drive.nImage) ||
            !ShellIconIndex(drive.strRoot, TRUE, &drive.nSelectedImage)) {
            break;
        }
        --firstShown;
    }

    for (auto drive = firstShown; drive != drives.end(); ++drive) {
        // C:\ shows as C:
        CString strText = drive->strRoot.Left(drive->strRoot.GetLength() - 1);
        InsertChild(*this, TVI_ROOT, strText, drive->nImage, drive->nSelectedImage, true, 0);
    }
    AddFilteredEntries({{m_strRoot1, 1}, {m_strRoot2, 2}}, TVI_ROOT);
}

void CTargetTree::FillPrograms() {
    BeginFill();
    m_strRoot1 = SpecialFolderPath(m_hWnd, CSIDL_COMMON_STARTMENU);
    m_strRoot2 = SpecialFolderPath(m_hWnd, CSIDL_STARTMENU);
    AddFilteredEntries({{m_strRoot1, 1}, {m_strRoot2, 2}}, TVI_ROOT);
}

namespace {

// Inserts the entries under hParent in the order the control would sort them into, all at the
// end and without painting in between: inserting each with TVI_SORT would compare it with every
// sibling, and painting would follow every insertion.
void InsertSorted(CTreeCtrl& tree, std::vector<Entry>& entries, HTREEITEM hParent,
                  std::unordered_set<HTREEITEM>& folders) {
    for (Entry& entry : entries) {
        entry.strSortKey = SortKey(entry.strName);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.strSortKey < b.strSortKey; });
    tree.SetRedraw(FALSE);
    for (const Entry& entry : entries) {
        // The pictures are asked for when the item is first drawn.
        HTREEITEM hItem = InsertChild(tree, hParent, entry.strName, I_IMAGECALLBACK,
                                      I_IMAGECALLBACK, entry.bFolder, entry.nTag);
        if (hItem && entry.bFolder) {
            folders.insert(hItem);
        }
    }
    tree.SetRedraw(TRUE);
}

} // namespace

void CTargetTree::AddFilteredEntries(const std::vector<Source>& sources, HTREEITEM hParent) {
    std::vector<Entry> entries;
    std::unordered_set<std::string> names; // upper case: the first source wins
    for (const Source& source : sources) {
        if (source.strFolder.IsEmpty()) {
            continue; // a root the shell could not name adds nothing
        }
        ForEachEntry(source.strFolder, [&](const CString& strName, bool bFolder) {
            if ((bFolder && !CanBeListed(source.strFolder + "\\" + strName)) ||
                HiddenByExtension(strName)) {
                return;
            }
            CString strUpper = strName;
            strUpper.MakeUpper();
            if (names.insert(std::string(strUpper)).second) {
                entries.push_back({strName, bFolder, source.nTag, {}});
            }
        });
    }
    if (entries.empty()) {
        // A folder with nothing to show loses its expand button; a Start-menu folder keeps it.
        if (m_nKind != kindPrograms && hParent != TVI_ROOT) {
            TVITEMA item = {};
            item.mask = TVIF_HANDLE | TVIF_CHILDREN;
            item.hItem = hParent;
            item.cChildren = 0;
            SetItem(&item);
        }
        return;
    }
    InsertSorted(*this, entries, hParent, m_folders);
}

void CTargetTree::AddFolderEntries(const CString& strFolder, HTREEITEM hParent) {
    std::vector<Entry> entries;
    ForEachEntry(strFolder, [&](const CString& strName, bool bFolder) {
        if (bFolder || m_nKind != kindFavorites || LowerExtension(strName) == ".url") {
            entries.push_back({strName, bFolder, 0, {}});
        }
    });
    InsertSorted(*this, entries, hParent, m_folders);
}

CString CTargetTree::RelativePath(HTREEITEM hItem) const {
    CString strPath = GetItemText(hItem);
    for (HTREEITEM hAncestor = GetParentItem(hItem); hAncestor;
         hAncestor = GetParentItem(hAncestor)) {
        strPath = GetItemText(hAncestor) + "\\" + strPath;
    }
    return strPath;
}

CString CTargetTree::TaggedPath(HTREEITEM hItem, LPARAM nTag) const {
    if (nTag == 1 || nTag == 2) {
        // Empty when the shell could not name that root.
        const CString& strRoot = nTag == 1 ? m_strRoot1 : m_strRoot2;
        return strRoot.IsEmpty() ? strRoot : strRoot + "\\" + RelativePath(hItem);
    }
    return RelativePath(hItem);
}

CString CTargetTree::RootedPath(HTREEITEM hItem) const {
    return m_strRoot1 + "\\" + RelativePath(hItem);
}

CString CTargetTree::ItemPath(HTREEITEM hItem, int nKind) const {
    switch (nKind) {
    case kindAllFiles:
    case kindPrograms:
        return TaggedPath(hItem, static_cast<LPARAM>(GetItemData(hItem)));
    case kindFolder:
    case kindFavorites:
        return RootedPath(hItem);
    default:
        return CString();
    }
}

void CTargetTree::OnSelChanged(NMHDR* pNMHDR, LRESULT*) {
    if (m_bFilling) {
        return; // clearing and refilling select items by themselves
    }
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem;
    CString strPath = hItem ? ItemPath(hItem, m_nKind) : CString();
    if (!strPath.IsEmpty()) {
        // A bare drive is reported as its root.
        if (strPath.GetLength() == 2 && strPath[1] == ':') {
            strPath += "\\";
        }
        m_strSelectedPath = strPath;
    }
    ::SendMessageA(m_hNotifyWnd, m_nNotifyMsg, 0, 0);
}

void CTargetTree::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const TVITEMA& item = reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew;
    if (item.state & TVIS_EXPANDEDONCE) {
        return; // read on its first opening; collapsing and reopening reads nothing
    }
    CWaitCursor wait;
    HTREEITEM hItem = item.hItem;
    switch (m_nKind) {
    case kindAllFiles: {
        auto nTag = static_cast<LPARAM>(GetItemData(hItem));
        AddFilteredEntries({{TaggedPath(hItem, nTag), nTag}}, hItem);
        break;
    }
    case kindPrograms:
        // A Start-menu folder shows what the same-named folders of both Start menus hold.
        AddFilteredEntries({{TaggedPath(hItem, 1), 1}, {TaggedPath(hItem, 2), 2}}, hItem);
        break;
    case kindFolder:
    case kindFavorites:
        AddFolderEntries(RootedPath(hItem), hItem);
        break;
    default:
        break;
    }
}

void CTargetTree::OnSelChanging(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
}

void CTargetTree::OnGetDispInfo(NMHDR* pNMHDR, LRESULT*) {
    TVITEMA& item = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR)->item;
    if (!(item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) {
        return;
    }
    bool bFolder = m_folders.count(item.hItem) != 0;
    ShellImages images = m_icons.Lookup(ItemPath(item.hItem, m_nShownKind), bFolder);
    item.iImage = images.nNormal;
    item.iSelectedImage = images.nSelected;
    // The control keeps the answer and does not ask again.
    item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_DI_SETITEM;
}
