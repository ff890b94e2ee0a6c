// CTargetTree: the tree in which the user browses for a key's target. A category of the key
// settings file says what it shows (drives and desktop, Start menu, favourites, one folder); it
// reads one folder level at a time, when the user first opens a folder, and after every selection
// change tells its host, which then reads m_strSelectedPath.
#pragma once

#include "FolderLevel.h"
#include "ShellIcons.h"

#include "CTreeCtrl.h"

#include <unordered_map>
#include <vector>

class CTargetTree : public CTreeCtrl {
public:
    CTargetTree() = default;
    ~CTargetTree() override;

    // Takes the system image list of small icons and remembers the key ("SKey<k>"), the
    // category file and whom to tell about selections; FALSE, changing nothing, without a list.
    BOOL Init(LPCSTR pszKeyName, LPCSTR pszCategoryFile, HWND hNotifyWnd, UINT nNotifyMsg);
    // Shows category 0 to 3 of the key. FALSE when the category names nothing the tree can
    // show; the tree then stays exactly as it was.
    BOOL LoadCategory(int nCategory);

    // Full path of the item selected last; empty until the first selection, and when the item
    // names no path (the tree shows another category's items under one of a kind that forms none).
    CString m_strSelectedPath;

protected:
    enum Kind {
        kindNone = 0,
        kindAllFiles = 2,
        kindFolder = 3,
        kindControlPanel = 4,
        kindPrograms = 6,
        kindFavorites = 7,
    };

    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

    CImageList m_imageList; // the shell's own list: attached, never freed
    CString m_strSectionPrefix;
    CString m_strCategoryFile;
    HWND m_hNotifyWnd = nullptr;
    UINT m_nNotifyMsg = 0;
    int m_nKind = kindNone;
    CString m_strRoot1;
    CString m_strRoot2;
    BOOL m_bFilling = FALSE;

private:
    void BeginFill();
    void FillAllFiles();
    void FillPrograms();
    // The entries of one folder level under hParent, read by the rule of the kind shown; a
    // source's tag (1 or 2 for a root, 0 under a drive) goes with each of its entries.
    void AddLevel(const std::vector<LevelSource>& sources, HTREEITEM hParent);

    CString RelativePath(HTREEITEM hItem) const;
    CString TaggedPath(HTREEITEM hItem, LPARAM nTag) const;
    CString RootedPath(HTREEITEM hItem) const;
    // The item's full path as a tree of that kind forms it; empty for the kinds that form none.
    CString ItemPath(HTREEITEM hItem, int nKind) const;

    int m_nShownKind = kindNone; // the kind whose items the tree holds, for their pictures
    CShellIcons m_icons;
    // The items that stand for folders, with the attributes that decide their pictures.
    std::unordered_map<HTREEITEM, DWORD> m_folders;
};
