#include "CTreeCtrl.h"

namespace {

// A view whose handle is whatever the control answered; null when it answered none.
CImageList* ViewOf(CImageList& view, HIMAGELIST hImageList) {
    view.m_hImageList = hImageList;
    return hImageList ? &view : nullptr;
}

// The item's fields that nMask names, to be filled in or asked for.
TVITEMA ItemFields(HTREEITEM hItem, UINT nMask) {
    TVITEMA item = {};
    item.mask = nMask;
    item.hItem = hItem;
    return item;
}

} // namespace

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage,
                                UINT nState, UINT nStateMask, LPARAM lParam, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = nMask;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    tvis.item.state = nState;
    tvis.item.stateMask = nStateMask;
    tvis.item.lParam = lParam;
    return InsertItem(&tvis);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    CString strText;
    TVITEMA item = ItemFields(hItem, TVIF_TEXT);
    // The control copies what fits; a text that fills the buffer may have been cut, so ask again
    // with twice the room.
    int nLength = 0;
    for (item.cchTextMax = 256;; item.cchTextMax *= 2) {
        item.pszText = strText.GetBuffer(item.cchTextMax);
        item.pszText[0] = '\0';
        if (!GetItem(&item)) {
            break;
        }
        nLength = lstrlenA(item.pszText);
        if (nLength < item.cchTextMax - 1) {
            break;
        }
    }
    strText.ReleaseBuffer(nLength);
    return strText;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR lpszItem) {
    TVITEMA item = ItemFields(hItem, TVIF_TEXT);
    item.pszText = const_cast<LPSTR>(lpszItem);
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMA item = ItemFields(hItem, TVIF_PARAM);
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    TVITEMA item = ItemFields(hItem, TVIF_CHILDREN);
    return GetItem(&item) && item.cChildren != 0;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    HIMAGELIST hImageList = pImageList ? pImageList->m_hImageList : nullptr;
    return ViewOf(m_previousList,
                  reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, nImageListType,
                                                           reinterpret_cast<LPARAM>(hImageList))));
}

CImageList* CTreeCtrl::GetImageList(UINT nImageList) const {
    return ViewOf(m_currentList,
                  reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, nImageList)));
}
