// Running the settings dialog and its target tree in a test: entries made outside the scratch
// folders (the prefix's own shell folders, the test drives), and the tree read and driven through
// its messages as a user's clicks and keys would drive it.
#pragma once

#include "../panel/PanelHarness.h"

#include "../../dialogs/SettingsDlg.h"

#include <memory>
#include <string>
#include <vector>

// Files and folders made for one test (a name ending in a backslash is a folder), removed again,
// deepest first, when the object goes.
class CMadeEntries {
public:
    CMadeEntries() = default;
    ~CMadeEntries();
    CMadeEntries(const CMadeEntries&) = delete;
    CMadeEntries& operator=(const CMadeEntries&) = delete;

    void Add(const std::string& strFolder, const std::vector<std::string>& names);

private:
    std::vector<std::string> m_made;
};

// The texts of an item's children (of the top level for TVI_ROOT), in the tree's order.
std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM hParent = TVI_ROOT);
// The child with this text (case ignored), or null.
HTREEITEM FindChild(const CTreeCtrl& tree, HTREEITEM hParent, LPCSTR pszText);
// Selects the item and presses a key on it: VK_ADD opens it, VK_SUBTRACT closes it.
void PressOn(CTreeCtrl& tree, HTREEITEM hItem, UINT nKey = 0);

class CTestSettingsDlg : public CDriven<CSettingsDlg> {
public:
    CTargetTree& Tree() { return m_tree; }

    // The tree's reports of a selection since the dialog opened.
    std::unique_ptr<CMessageRecorder> m_pReports;

protected:
    BOOL OnInitDialog() override;
};

class SettingsTest : public PanelTest {
protected:
    // Runs the dialog for the key; after the steps it is cancelled, unless they end it.
    INT_PTR RunSettings(int nKey, std::vector<ScriptStep> steps, bool bStepsEndIt = false) {
        return RunKeyDialog(m_dialog, nKey, std::move(steps), bStepsEndIt);
    }
    // How often the tree has told the running dialog of a selection, and the path it told of last.
    size_t Reports() const { return m_dialog.m_pReports->Messages().size(); }
    std::string LastReport() {
        return Reports() ? std::string(m_dialog.Tree().m_strSelectedPath) : "";
    }

    CTestSettingsDlg m_dialog;
};
