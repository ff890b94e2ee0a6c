// Message maps: a static table per class, walked from the most derived class to its bases.
//
// Each entry names the message (and for commands and notifications the code and control range)
// and a small thunk that decodes WPARAM/LPARAM into the handler's typed arguments. The thunks are
// instantiated from the handler's member pointer, so a handler with the wrong signature does not
// compile, and no member-pointer casts are needed.
#pragma once

#include <windows.h>

class CCmdTarget;
class CWnd;

struct AFX_MSG {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Returns the message's result through lResult; the entry was matched, so the message is handled.
using AFX_PMSGTHUNK = void (*)(CCmdTarget* pTarget, const AFX_MSG& msg, LRESULT& lResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;            // window message; WM_COMMAND/WM_NOTIFY match nCode and the id range
    UINT nCode;               // notification code
    UINT nID;                 // first control id
    UINT nLastID;             // last control id
    const UINT* pnRegistered; // registered message: its number is read at dispatch time
    AFX_PMSGTHUNK pfnThunk;   // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Reflected notifications arrive at the control with this offset added to the message.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// Finds the first entry that matches, from the class's own map down to CCmdTarget's.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                            UINT nID);

namespace afx_thunk {

template <class T> struct MemberOf;
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...)> { using Class = C; };

template <auto pfn> auto* Target(CCmdTarget* p) {
    return static_cast<typename MemberOf<decltype(pfn)>::Class*>(p);
}

CWnd* WndFromHandle(HWND hWnd);

template <auto pfn> void VoidVoid(CCmdTarget* p, const AFX_MSG&, LRESULT& r) {
    (Target<pfn>(p)->*pfn)();
    r = 0;
}
template <auto pfn> void CommandRange(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    (Target<pfn>(p)->*pfn)(LOWORD(m.wParam));
    r = 0;
}
template <auto pfn> void WParamLParam(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    r = (Target<pfn>(p)->*pfn)(m.wParam, m.lParam);
}
template <auto pfn> void Create(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    r = (Target<pfn>(p)->*pfn)(reinterpret_cast<LPCREATESTRUCTA>(m.lParam));
}
template <auto pfn> void DropFiles(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    (Target<pfn>(p)->*pfn)(reinterpret_cast<HDROP>(m.wParam));
    r = 0;
}
template <auto pfn> void Focus(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    (Target<pfn>(p)->*pfn)(WndFromHandle(reinterpret_cast<HWND>(m.wParam)));
    r = 0;
}
template <auto pfn> void MinMaxInfo(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    (Target<pfn>(p)->*pfn)(reinterpret_cast<MINMAXINFO*>(m.lParam));
    r = 0;
}
template <auto pfn> void QueryDragIcon(CCmdTarget* p, const AFX_MSG&, LRESULT& r) {
    r = reinterpret_cast<LRESULT>((Target<pfn>(p)->*pfn)());
}
template <auto pfn> void SysCommand(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    (Target<pfn>(p)->*pfn)(static_cast<UINT>(m.wParam), m.lParam);
    r = 0;
}
template <auto pfn> void HelpInfo(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    r = (Target<pfn>(p)->*pfn)(reinterpret_cast<HELPINFO*>(m.lParam));
}
template <auto pfn> void Notify(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    r = 0;
    (Target<pfn>(p)->*pfn)(reinterpret_cast<NMHDR*>(m.lParam), &r);
}
template <auto pfn> void NotifyRange(CCmdTarget* p, const AFX_MSG& m, LRESULT& r) {
    auto* pHeader = reinterpret_cast<NMHDR*>(m.lParam);
    r = 0;
    (Target<pfn>(p)->*pfn)(static_cast<UINT>(pHeader->idFrom), pHeader, &r);
}

} // namespace afx_thunk

#define afx_msg

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr, nullptr }                                                               \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries};              \
    return &messageMap;                                                                            \
    }

#define AFX_ENTRY(msg, code, id, last, thunk, fn)                                                  \
    {msg, code, id, last, nullptr, &afx_thunk::thunk<&ThisClass::fn>},

// Commands and control notifications
#define ON_COMMAND(id, fn) AFX_ENTRY(WM_COMMAND, 0, id, id, VoidVoid, fn)
#define ON_CONTROL(code, id, fn) AFX_ENTRY(WM_COMMAND, code, id, id, VoidVoid, fn)
#define ON_CONTROL_RANGE(code, id, last, fn) AFX_ENTRY(WM_COMMAND, code, id, last, CommandRange, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
// A notification a child control leaves to its parent: it reaches the parent's map only when the
// control's own map has no reflected entry for it.
#define ON_NOTIFY(code, id, fn) AFX_ENTRY(WM_NOTIFY, code, id, id, Notify, fn)
#define ON_NOTIFY_RANGE(code, id, last, fn) AFX_ENTRY(WM_NOTIFY, code, id, last, NotifyRange, fn)
#define ON_NOTIFY_REFLECT(code, fn)                                                                \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0xFFFF, Notify, fn)

// Messages
#define ON_MESSAGE(msg, fn) AFX_ENTRY(msg, 0, 0, 0, WParamLParam, fn)
#define ON_REGISTERED_MESSAGE(nMsgVar, fn)                                                         \
    {0, 0, 0, 0, &nMsgVar, &afx_thunk::WParamLParam<&ThisClass::fn>},
#define ON_WM_CREATE() AFX_ENTRY(WM_CREATE, 0, 0, 0, Create, OnCreate)
#define ON_WM_DESTROY() AFX_ENTRY(WM_DESTROY, 0, 0, 0, VoidVoid, OnDestroy)
#define ON_WM_PAINT() AFX_ENTRY(WM_PAINT, 0, 0, 0, VoidVoid, OnPaint)
#define ON_WM_DROPFILES() AFX_ENTRY(WM_DROPFILES, 0, 0, 0, DropFiles, OnDropFiles)
#define ON_WM_SETFOCUS() AFX_ENTRY(WM_SETFOCUS, 0, 0, 0, Focus, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_ENTRY(WM_KILLFOCUS, 0, 0, 0, Focus, OnKillFocus)
#define ON_WM_GETMINMAXINFO() AFX_ENTRY(WM_GETMINMAXINFO, 0, 0, 0, MinMaxInfo, OnGetMinMaxInfo)
#define ON_WM_QUERYDRAGICON() AFX_ENTRY(WM_QUERYDRAGICON, 0, 0, 0, QueryDragIcon, OnQueryDragIcon)
#define ON_WM_SYSCOMMAND() AFX_ENTRY(WM_SYSCOMMAND, 0, 0, 0, SysCommand, OnSysCommand)
#define ON_WM_HELPINFO() AFX_ENTRY(WM_HELP, 0, 0, 0, HelpInfo, OnHelpInfo)
