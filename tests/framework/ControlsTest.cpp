#include "DialogHarness.h"

#include "../common/Icons.h"

#include "CComInit.h"
#include "CHandle.h"
#include "CRegKey.h"

#include <gtest/gtest.h>

using Controls = DialogTest;

TEST_F(Controls, EditLimitsTypingAndSelects) {
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_NUMBER, &m_dialog));
    edit.LimitText(3);
    EXPECT_EQ(edit.GetLimitText(), 3u);
    TypeKeys(edit, "12345");
    EXPECT_EQ(GetWindowTextLengthA(edit), 3);
    edit.SetSel(1, -1);
    EXPECT_EQ(Selection(edit), "1-3");
}

TEST_F(Controls, TreeItemFieldsLongTextsAndChildrenToCome) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.SubclassDlgItem(IDC_TREE, &m_dialog));
    HTREEITEM hRoot = tree.InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_STATE, "C:\\", 0, 0, TVIS_BOLD,
                                      TVIS_BOLD, 7, TVI_ROOT, TVI_LAST);
    HTREEITEM hChild = tree.InsertItem("Windows", hRoot);
    EXPECT_EQ(tree.GetItemData(hRoot), 7u);
    EXPECT_EQ(tree.GetItemState(hRoot, TVIS_BOLD), static_cast<UINT>(TVIS_BOLD));

    CString strLong;
    for (int i = 0; i < 700; ++i) {
        strLong += static_cast<char>('a' + i % 26);
    }
    ASSERT_TRUE(tree.SetItemText(hChild, strLong));
    EXPECT_STREQ(tree.GetItemText(hChild), strLong);

    // A folder filled only when it opens has no children yet, but says it has.
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = TVI_ROOT;
    tvis.item.mask = TVIF_CHILDREN;
    tvis.item.cChildren = 1;
    HTREEITEM hLazy = tree.InsertItem(&tvis);
    for (auto [hItem, bChildren] : {std::pair{hLazy, TRUE}, {hRoot, TRUE}, {hChild, FALSE}}) {
        EXPECT_EQ(tree.ItemHasChildren(hItem), bChildren);
    }
}

TEST_F(Controls, ImageListsAreViewsThatNeverDestroyTheList) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.SubclassDlgItem(IDC_TREE, &m_dialog));
    HIMAGELIST hFirst = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    HIMAGELIST hSecond = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ImageList_AddIcon(hFirst, LoadIconA(nullptr, IDI_APPLICATION));
    {
        CImageList first, second;
        ASSERT_TRUE(first.Attach(hFirst));
        EXPECT_FALSE(first.Attach(hSecond));
        ASSERT_TRUE(second.Attach(hSecond));
        EXPECT_EQ(first.GetImageCount(), 1);
        EXPECT_EQ(tree.SetImageList(&first, TVSIL_NORMAL), nullptr);
        EXPECT_EQ(tree.SetImageList(&second, TVSIL_NORMAL)->GetSafeHandle(), hFirst);
        EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL)->GetSafeHandle(), hSecond);
        EXPECT_EQ(second.Detach(), hSecond);
    }
    tree.SetImageList(nullptr, TVSIL_NORMAL);
    // Both lists outlived their views: each can still be destroyed.
    EXPECT_TRUE(ImageList_Destroy(hFirst));
    EXPECT_TRUE(ImageList_Destroy(hSecond));
}

TEST_F(Controls, SpinOfTheTemplateKeepsItsLimitsApart) {
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.SubclassDlgItem(IDC_SPIN, &m_dialog));
    char szClass[32] = {};
    GetClassNameA(spin, szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "msctls_updown32");
    EXPECT_EQ(spin.GetBuddy()->m_hWnd, m_dialog.Item(IDC_NUMBER));
    spin.SetRange(-5, 40);
    int nLower = 0, nUpper = 0;
    spin.GetRange(nLower, nUpper);
    EXPECT_EQ(nLower, -5);
    EXPECT_EQ(nUpper, 40);
    spin.SetPos(12);
    EXPECT_EQ(spin.SetPos(100), 12);
    EXPECT_EQ(spin.GetPos(), 40); // kept within the range, no error in the high word
}

TEST(Holders, IconHolderDestroysWhatItHoldsOnce) {
    HICON hFirst = CopyIcon(LoadIconA(nullptr, IDI_APPLICATION));
    HICON hSecond = CopyIcon(hFirst);
    HICON hGiven = CopyIcon(hFirst);
    {
        CIconHolder holder(hFirst);
        holder.Attach(hSecond);
        EXPECT_FALSE(IconExists(hFirst));
        CIconHolder moved(std::move(holder));
        EXPECT_EQ(static_cast<HICON>(holder), nullptr);
        CIconHolder given(hGiven);
        EXPECT_EQ(given.Detach(), hGiven);
    }
    EXPECT_FALSE(IconExists(hSecond));
    EXPECT_TRUE(IconExists(hGiven));
    DestroyIcon(hGiven);
}

// Null and INVALID_HANDLE_VALUE both mean "none"; a handle is closed when it is replaced, when its
// holder goes, or when Close is called, once; one that is moved on or detached is left open.
TEST(Holders, HandleAndKeyHoldersCloseWhatTheyHoldOnce) {
    auto event = [] { return CreateEventA(nullptr, TRUE, FALSE, nullptr); };
    auto isOpen = [](HANDLE hHandle) {
        DWORD dwFlags = 0;
        return GetHandleInformation(hHandle, &dwFlags) != FALSE;
    };
    HANDLE hFirst = event();
    HANDLE hSecond = event();
    HANDLE hKept = event();
    {
        CHandle holder(hFirst);
        holder.Attach(hSecond);
        EXPECT_FALSE(isOpen(hFirst));
        CHandle moved(std::move(holder));
        EXPECT_FALSE(holder.IsValid());
        EXPECT_TRUE(moved.Close());
        EXPECT_FALSE(isOpen(hSecond));
        EXPECT_TRUE(moved.Close()) << "closing an empty holder does nothing";
        CHandle kept(hKept);
        EXPECT_EQ(kept.Detach(), hKept);
        for (HANDLE hNone : {HANDLE(nullptr), INVALID_HANDLE_VALUE}) {
            EXPECT_FALSE(CHandle(hNone).IsValid());
            EXPECT_TRUE(CHandle(hNone).Close());
            EXPECT_TRUE(CFindHandle(hNone).Close()) << "FindClose refuses what no search gave";
        }
    }
    EXPECT_TRUE(isOpen(hKept));
    CHandle(hKept).Close();
    EXPECT_FALSE(isOpen(hKept));

    HKEY hKey = nullptr;
    {
        CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software", KEY_READ));
        hKey = key;
    }
    EXPECT_NE(ERROR_SUCCESS,
              RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr));
}

// COM is left as the holder found it: a nested or refused initialisation undoes nothing.
TEST(Holders, ComInitUndoesOnlyItsOwnInitialisation) {
    {
        CComInit com;
        EXPECT_EQ(S_OK, com.Result());
        {
            CComInit nested;
            EXPECT_EQ(S_FALSE, nested.Result());
        }
        {
            CComInit other(COINIT_MULTITHREADED);
            EXPECT_EQ(RPC_E_CHANGED_MODE, other.Result());
        }
        CComInit still;
        EXPECT_EQ(S_FALSE, still.Result()) << "an inner holder uninitialised the thread";
    }
    CComInit again;
    EXPECT_EQ(S_OK, again.Result()) << "the thread was left initialised";
}

TEST(Holders, DCSelectionPutsBackWhatItReplaced) {
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOriginal = GetCurrentObject(hDC, OBJ_PEN);
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    {
        CDCSelection selection(hDC, pen);
        EXPECT_EQ(GetCurrentObject(hDC, OBJ_PEN), pen.m_hObject);
    }
    EXPECT_EQ(GetCurrentObject(hDC, OBJ_PEN), hOriginal);
    DeleteDC(hDC);
}
