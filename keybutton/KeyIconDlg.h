// CKeyIconDlg: asks before the current key's assignment is cleared, showing the key's picture.
// It only answers; the panel clears the key after IDOK.
#pragma once

#include "../base/KeyDialog.h"

class CKeyIconDlg : public CKeyDialog {
public:
    explicit CKeyIconDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
};
