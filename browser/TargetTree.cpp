#include "TargetTree.h"

#include "../base/KeySettingsFile.h"

#include "CChangeGuard.h"
#include "CComHeapPtr.h"
#include "CWaitCursor.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

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
        AddLevel({{m_strRoot1, 0}}, TVI_ROOT);
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
    AddLevel({{m_strRoot1, 1}, {m_strRoot2, 2}}, TVI_ROOT);
}

void CTargetTree::FillPrograms() {
    BeginFill();
    m_strRoot1 = SpecialFolderPath(m_hWnd, CSIDL_COMMON_STARTMENU);
    m_strRoot2 = SpecialFolderPath(m_hWnd, CSIDL_STARTMENU);
    AddLevel({{m_strRoot1, 1}, {m_strRoot2, 2}}, TVI_ROOT);
}

void CTargetTree::AddLevel(const std::vector<LevelSource>& sources, HTREEITEM hParent) {
    LevelRule rule = m_nKind == kindFolder      ? LevelRule::kEverything
                     : m_nKind == kindFavorites ? LevelRule::kFavorites
                                                : LevelRule::kTargets;
    std::vector<LevelEntry> entries = ReadFolderLevel(sources, rule);
    if (entries.empty()) {
        // An all-files folder with nothing to show loses its expand button; a Start-menu folder
        // keeps it, and so does a folder of the one-root kinds, which hides nothing.
        if (m_nKind == kindAllFiles && hParent != TVI_ROOT) {
            TVITEMA item = {};
            item.mask = TVIF_HANDLE | TVIF_CHILDREN;
            item.hItem = hParent;
            item.cChildren = 0;
            SetItem(&item);
        }
        return;
    }
    // All at the end and without painting in between: inserting each with TVI_SORT would compare
    // it with every sibling, and painting would follow every insertion.
    SetRedraw(FALSE);
    for (const LevelEntry& entry : entries) {
        // The pictures are asked for when the item is first drawn.
        HTREEITEM hItem = InsertChild(*this, hParent, entry.strName, I_IMAGECALLBACK,
                                      I_IMAGECALLBACK, entry.IsFolder(), entry.nTag);
        if (hItem && entry.IsFolder()) {
            m_folders.emplace(hItem, entry.nAttributes);
        }
    }
    SetRedraw(TRUE);
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
    // A bare drive is reported as its root.
    if (strPath.GetLength() == 2 && strPath[1] == ':') {
        strPath += "\\";
    }
    // Empty too is reported: keeping the path of an earlier category's item under a kind that
    // forms none would hand on a target the user did not choose.
    m_strSelectedPath = strPath;
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
        AddLevel({{TaggedPath(hItem, nTag), nTag}}, hItem);
        break;
    }
    case kindPrograms:
        // A Start-menu folder shows what the same-named folders of both Start menus hold.
        AddLevel({{TaggedPath(hItem, 1), 1}, {TaggedPath(hItem, 2), 2}}, hItem);
        break;
    case kindFolder:
    case kindFavorites:
        AddLevel({{RootedPath(hItem), 0}}, hItem);
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
    auto folder = m_folders.find(item.hItem);
    // A file's picture follows from its path alone.
    DWORD nAttributes = folder != m_folders.end() ? folder->second : FILE_ATTRIBUTE_NORMAL;
    ShellImages images = m_icons.Lookup(ItemPath(item.hItem, m_nShownKind), nAttributes);
    item.iImage = images.nNormal;
    item.iSelectedImage = images.nSelected;
    // The control keeps the answer and does not ask again.
    item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_DI_SETITEM;
}
