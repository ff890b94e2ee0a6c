// The messages a window gets, recorded in order and compared with an expected table; when they
// differ, the whole of both is printed, so that a test shows what happened instead of the first
// mismatch alone.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string strData = {}; // what a WM_COPYDATA carried

    bool operator==(const RecordedMessage& other) const {
        return message == other.message && wParam == other.wParam && lParam == other.lParam &&
               strData == other.strData;
    }
};
using MessageSequence = std::vector<RecordedMessage>;

// The messages to record, each with the name a difference is printed with.
using MessageNames = std::vector<std::pair<UINT, std::string>>;
#define VV_MESSAGE(message)                                                                        \
    { message, #message }

class CMessageRecorder {
public:
    // Records what reaches an existing window (a dialog, a control) by subclassing it for the
    // recorder's life; every message still goes on to the window.
    CMessageRecorder(HWND hWnd, MessageNames names);
    // A hidden top-level window of the class given, standing in for a window that another program
    // looks for by its class (the taskbar, the key panel); it answers TRUE to what it records.
    CMessageRecorder(const char* pszClass, MessageNames names, DWORD dwExStyle = 0);
    ~CMessageRecorder();
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;

    HWND Handle() const { return m_hWnd; }
    const MessageSequence& Messages() const { return m_messages; }
    size_t Count(UINT message) const;
    void Clear() { m_messages.clear(); }

    // Passes when exactly the expected messages arrived since the last Clear, in that order.
    testing::AssertionResult Matches(const MessageSequence& expected) const;

private:
    static LRESULT CALLBACK Subclass(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR nId, DWORD_PTR pRecorder);
    std::string Describe(const RecordedMessage& message) const;

    HWND m_hWnd;
    bool m_bOwnWindow;
    MessageNames m_names;
    MessageSequence m_messages;
};
