#include "SettingsHarness.h"

#include "../../base/ModuleMessages.h"

#include <algorithm>

CMadeEntries::~CMadeEntries() {
    for (auto entry = m_made.rbegin(); entry != m_made.rend(); ++entry) {
        RemoveTree(*entry);
        DeleteFileA(entry->c_str());
    }
}

void CMadeEntries::Add(const std::string& strFolder, const std::vector<std::string>& names) {
    for (const std::string& strName : names) {
        // What goes again is the first part of the path that was not there before.
        std::string strPath = strFolder + "\\" + strName;
        for (size_t nEnd = strFolder.size() + 1; nEnd < strPath.size(); ++nEnd) {
            nEnd = std::min(strPath.find('\\', nEnd), strPath.size());
            if (GetFileAttributesA(strPath.substr(0, nEnd).c_str()) == INVALID_FILE_ATTRIBUTES) {
                m_made.push_back(strPath.substr(0, nEnd));
                break;
            }
        }
        if (strPath.back() == '\\') {
            MakeFolders(strPath.substr(0, strPath.size() - 1));
        } else {
            MakeFolders(strPath.substr(0, strPath.rfind('\\')));
            WriteFileText(strPath, "x");
        }
    }
}

std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM hParent) {
    std::vector<std::string> texts;
    for (HTREEITEM hItem = tree.GetChildItem(hParent); hItem;
         hItem = tree.GetNextSiblingItem(hItem)) {
        texts.emplace_back(tree.GetItemText(hItem));
    }
    return texts;
}

HTREEITEM FindChild(const CTreeCtrl& tree, HTREEITEM hParent, LPCSTR pszText) {
    HTREEITEM hItem = tree.GetChildItem(hParent);
    while (hItem && tree.GetItemText(hItem).CompareNoCase(pszText) != 0) {
        hItem = tree.GetNextSiblingItem(hItem);
    }
    return hItem;
}

void PressOn(CTreeCtrl& tree, HTREEITEM hItem, UINT nKey) {
    tree.SelectItem(hItem);
    if (nKey) {
        tree.SendMessage(WM_KEYDOWN, nKey);
    }
}

BOOL CTestSettingsDlg::OnInitDialog() {
    m_pReports = std::make_unique<CMessageRecorder>(
        m_hWnd, MessageNames{{g_nSelectChangedMsg, "ZuSelectChanged"}});
    return CDriven<CSettingsDlg>::OnInitDialog();
}
