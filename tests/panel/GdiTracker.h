// Counts the drawing objects (brushes, pens, fonts) that this program creates and does not
// release while a tracker lives. The system's own count (GetGuiResources) is not available under
// Wine, so the program's imports of the creating and releasing calls are routed through the
// tracker instead; the module is linked into the test program, so its calls go through those
// imports. Icons come from the shortcut library, which the bound library's log follows.
#pragma once

#include <windows.h>

#include <set>

class CGdiTracker {
public:
    CGdiTracker();
    ~CGdiTracker();
    CGdiTracker(const CGdiTracker&) = delete;
    CGdiTracker& operator=(const CGdiTracker&) = delete;

    // False when an import could not be found, so that the counts would mean nothing.
    bool Hooked() const { return m_bHooked; }
    size_t Created() const { return m_nCreated; }
    // Objects created while tracking and not yet deleted.
    const std::set<HANDLE>& Live() const { return m_live; }

private:
    friend struct GdiHooks;
    static CGdiTracker* s_pActive;
    bool m_bHooked;
    size_t m_nCreated = 0;
    std::set<HANDLE> m_live;
};
