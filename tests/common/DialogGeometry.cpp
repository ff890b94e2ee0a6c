#include "DialogGeometry.h"

#include "Process.h"
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

namespace {

bool SetLogPixels(DWORD nDpi) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                           &nDpi, sizeof(nDpi)) == ERROR_SUCCESS;
}

// How much room a control leaves its text beside what it draws itself, and how the text is laid
// out in it; false for controls whose text is not the system's to draw, or cut short by design.
bool TextRoom(HWND hControl, int& nRoom, UINT& nFormat) {
    char szClass[32] = "";
    GetClassNameA(hControl, szClass, sizeof szClass);
    const LONG nStyle = GetWindowLongA(hControl, GWL_STYLE);
    const int nDpi = ScreenDpi();
    nFormat = DT_CALCRECT | DT_SINGLELINE;
    if (lstrcmpiA(szClass, "Static") == 0) {
        if ((nStyle & SS_TYPEMASK) > SS_RIGHT || (nStyle & SS_ELLIPSISMASK)) {
            return false;
        }
        nFormat =
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (nStyle & SS_NOPREFIX ? DT_NOPREFIX : 0);
        return true;
    }
    if (lstrcmpiA(szClass, "Button") != 0) {
        return false;
    }
    // Beside its text a push button draws its edges, a check box or radio button its box and the
    // gap after it, a group box its frame's corners; an owner-drawn button draws all itself.
    const LONG nType = nStyle & BS_TYPEMASK;
    const bool bBox =
        (nType >= BS_CHECKBOX && nType <= BS_AUTO3STATE) || nType == BS_AUTORADIOBUTTON;
    nRoom -= nType <= BS_DEFPUSHBUTTON ? 2 * (GetSystemMetrics(SM_CXEDGE) + 1)
             : bBox                    ? MulDiv(17, nDpi, 96)
                                       : MulDiv(16, nDpi, 96);
    return bBox || nType <= BS_DEFPUSHBUTTON || nType == BS_GROUPBOX;
}

// Whether a control's text, laid out in its own font as the control lays it out, fits inside it.
bool TextFits(HWND hControl) {
    WCHAR szText[1024] = L"";
    GetWindowTextW(hControl, szText, ARRAYSIZE(szText));
    RECT rcClient;
    GetClientRect(hControl, &rcClient);
    int nRoom = rcClient.right;
    UINT nFormat = 0;
    if (!szText[0] || !TextRoom(hControl, nRoom, nFormat)) {
        return true;
    }
    HDC hdc = GetDC(hControl);
    HGDIOBJ hOld =
        SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageA(hControl, WM_GETFONT, 0, 0)));
    RECT rcText = {0, 0, nRoom, 0};
    DrawTextW(hdc, szText, -1, &rcText, nFormat);
    SelectObject(hdc, hOld);
    ReleaseDC(hControl, hdc);
    return rcText.right <= nRoom && rcText.bottom <= rcClient.bottom;
}

} // namespace

int RunAtResolution(int nDpi, const std::string& strFilter) {
    if (!SetLogPixels(nDpi)) {
        return -1;
    }
    const int nCode = RunThisProgram(strFilter, {{"VV_TEST_DPI", std::to_string(nDpi)}});
    SetLogPixels(96);
    return nCode;
}

bool RunsAtAskedResolution() {
    const std::string strDpi = EnvironmentValue("VV_TEST_DPI");
    return strDpi.empty() || std::stoi(strDpi) == ScreenDpi();
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
        EXPECT_TRUE(TextFits(visible[a])) << "the text of " << name(visible[a]) << " is cut off";
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
