#include "KeyIcon.h"

#include "ZuCom.h"
#include "../res/resource.h"

#include "AfxResource.h"

HICON CKeyIcon::Load(int nKey, const CString& strIconPath) {
    HICON hIcon = nullptr;
    if (!ZuComGetIconHandle(&hIcon, strIconPath, 1)) {
        hIcon = nullptr;
    }
    m_fromLibrary.Attach(hIcon);
    m_hIcon =
        hIcon ? hIcon : LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_KEY_BASE + nKey));
    return m_hIcon;
}
