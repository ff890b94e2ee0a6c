#include "KeyIcon.h"

#include "ZuCom.h"
#include "../res/resource.h"

#include "AfxResource.h"

HICON CKeyIcon::Load(int nKey, const CString& strIconPath) {
    Reset();
    HICON hIcon = nullptr;
    if (ZuComGetIconHandle(&hIcon, strIconPath, 1) && hIcon) {
        m_bOwned = TRUE;
    } else {
        hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_KEY_BASE + nKey));
    }
    m_hIcon = hIcon;
    return hIcon;
}

void CKeyIcon::Reset() {
    if (m_bOwned && m_hIcon) {
        DestroyIcon(m_hIcon);
    }
    m_hIcon = nullptr;
    m_bOwned = FALSE;
}
