#include "MessageRecorder.h"

#include <commctrl.h>

#include <algorithm>
#include <sstream>

CMessageRecorder::CMessageRecorder(HWND hWnd, MessageNames names)
    : m_hWnd(hWnd), m_bOwnWindow(false), m_names(std::move(names)) {
    SetWindowSubclass(m_hWnd, &Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
}

CMessageRecorder::CMessageRecorder(const char* pszClass, MessageNames names, DWORD dwExStyle)
    : m_bOwnWindow(true), m_names(std::move(names)) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = pszClass;
    RegisterClassA(&wc); // once per process; later tries fail harmlessly
    m_hWnd = CreateWindowExA(dwExStyle, pszClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    SetWindowSubclass(m_hWnd, &Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
}

CMessageRecorder::~CMessageRecorder() {
    if (IsWindow(m_hWnd)) {
        RemoveWindowSubclass(m_hWnd, &Subclass, 0);
        if (m_bOwnWindow) {
            DestroyWindow(m_hWnd);
        }
    }
}

LRESULT CALLBACK CMessageRecorder::Subclass(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR pData) {
    auto* pRecorder = reinterpret_cast<CMessageRecorder*>(pData);
    bool bRecorded = std::any_of(pRecorder->m_names.begin(), pRecorder->m_names.end(),
                                 [message](const auto& name) { return name.first == message; });
    if (bRecorded) {
        RecordedMessage recorded = {message, wParam, lParam};
        if (message == WM_COPYDATA) {
            const auto* pCopy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            recorded.lParam = 0; // the address means nothing once the call returns
            recorded.strData.assign(static_cast<const char*>(pCopy->lpData), pCopy->cbData);
        }
        pRecorder->m_messages.push_back(std::move(recorded));
        if (pRecorder->m_bOwnWindow) {
            return TRUE;
        }
    }
    return DefSubclassProc(hWnd, message, wParam, lParam);
}

size_t CMessageRecorder::Count(UINT message) const {
    return static_cast<size_t>(
        std::count_if(m_messages.begin(), m_messages.end(),
                      [message](const RecordedMessage& m) { return m.message == message; }));
}

std::string CMessageRecorder::Describe(const RecordedMessage& message) const {
    std::ostringstream text;
    auto name = std::find_if(m_names.begin(), m_names.end(),
                             [&](const auto& entry) { return entry.first == message.message; });
    if (name != m_names.end()) {
        text << name->second;
    } else {
        text << "message 0x" << std::hex << message.message << std::dec;
    }
    text << " " << message.wParam << " " << message.lParam;
    if (!message.strData.empty()) {
        text << " (" << message.strData.size() << " bytes)";
    }
    return text.str();
}

testing::AssertionResult CMessageRecorder::Matches(const MessageSequence& expected) const {
    if (expected == m_messages) {
        return testing::AssertionSuccess();
    }
    testing::AssertionResult result = testing::AssertionFailure();
    result << "the messages differ:\n";
    for (size_t i = 0; i < std::max(expected.size(), m_messages.size()); ++i) {
        std::string strExpected = i < expected.size() ? Describe(expected[i]) : "(none)";
        std::string strActual = i < m_messages.size() ? Describe(m_messages[i]) : "(none)";
        bool bSame = i < expected.size() && i < m_messages.size() && expected[i] == m_messages[i];
        result << (bSame ? "  " : "! ") << i << ": expected " << strExpected << ", got "
               << strActual << "\n";
    }
    return result;
}
