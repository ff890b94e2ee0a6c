#include "DialogGeometry.h"

#include "ShownDialogs.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

int ScreenDpi() {
    HDC hdc = GetDC(nullptr);
    int nDpi = GetDeviceCaps(hdc, LOGPIXELSX);
    ReleaseDC(nullptr, hdc);
    return nDpi;
}

HWND CreateQuietDialog(HINSTANCE hTemplates, int nTemplate) {
    return CreateDialogParamA(
        hTemplates, MAKEINTRESOURCEA(nTemplate), nullptr,
        [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; }, 0);
}

RECT ChildRect(HWND hDialog, HWND hChild) {
    RECT rc = {};
    GetWindowRect(hChild, &rc);
    MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT ChildRect(HWND hDialog, int nID) {
    return ChildRect(hDialog, GetDlgItem(hDialog, nID));
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

void ExpectTidy(HWND hDialog, int nFrameID) {
    RECT rcClient;
    GetClientRect(hDialog, &rcClient);
    std::vector<HWND> visible;
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE) {
            visible.push_back(hChild);
        }
    }
    auto name = [](HWND hControl) {
        return "control " + std::to_string(GetDlgCtrlID(hControl)) + " \"" + WindowText(hControl) +
               "\"";
    };
    auto framed = [nFrameID](HWND hFrame, const RECT& rcFrame, const RECT& rcInner) {
        return nFrameID && GetDlgCtrlID(hFrame) == nFrameID && Contains(rcFrame, rcInner);
    };
    // An up-down control lies on its buddy's border by design.
    auto buddies = [](HWND hUpDown, HWND hBuddy) {
        char szClass[32] = "";
        GetClassNameA(hUpDown, szClass, sizeof szClass);
        return lstrcmpiA(szClass, UPDOWN_CLASSA) == 0 &&
               reinterpret_cast<HWND>(SendMessageA(hUpDown, UDM_GETBUDDY, 0, 0)) == hBuddy;
    };
    for (size_t a = 0; a < visible.size(); ++a) {
        RECT rcA = ChildRect(hDialog, visible[a]);
        EXPECT_TRUE(Contains(rcClient, rcA)) << name(visible[a]) << " is cut off";
        for (size_t b = a + 1; b < visible.size(); ++b) {
            RECT rcB = ChildRect(hDialog, visible[b]);
            RECT rcOverlap;
            if (IntersectRect(&rcOverlap, &rcA, &rcB)) {
                EXPECT_TRUE(framed(visible[a], rcA, rcB) || framed(visible[b], rcB, rcA) ||
                            buddies(visible[a], visible[b]) || buddies(visible[b], visible[a]))
                    << name(visible[a]) << " and " << name(visible[b]) << " overlap";
            }
        }
    }
}
