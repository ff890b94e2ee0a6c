// CImageList: a view of an image list that never owns it. The lists the module shows belong to
// others (the shell's system image list is shared by every program and must never be freed), so
// the destructor leaves the list alone.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    // FALSE for a null handle or when a list is attached already.
    BOOL Attach(HIMAGELIST hImageList) {
        if (!hImageList || m_hImageList) {
            return FALSE;
        }
        m_hImageList = hImageList;
        return TRUE;
    }
    HIMAGELIST Detach() {
        HIMAGELIST hImageList = m_hImageList;
        m_hImageList = nullptr;
        return hImageList;
    }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
};
