// The keys S1 to S6 as the service hears them: global hot keys, one key combination each, set in
// the section [SKeyHotKey] of the key settings file ("S3=Ctrl+Alt+3"). A key without a value there
// has the default Ctrl+Alt+<key number>; an empty value gives the key no hot key.
#pragma once

#include <windows.h>

#include <array>
#include <string>

constexpr int SERVICE_KEY_COUNT = 6;

struct CHotKey {
    UINT fsModifiers = 0; // MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN
    UINT vk = 0;

    bool operator==(const CHotKey& other) const {
        return fsModifiers == other.fsModifiers && vk == other.vk;
    }
};

// Reads "Ctrl+Alt+1": names joined by '+', in any order and case, blanks around them ignored;
// exactly one of them is not a modifier (Ctrl or Control, Alt, Shift, Win). That key is a letter,
// a digit, F1 to F24, Num0 to Num9, or one of Space, Insert, Delete, Home, End, PageUp, PageDown,
// Left, Right, Up, Down, Pause. False for anything else.
bool ParseHotKey(const std::string& strText, CHotKey& hotKey);

// True while every key of the combination is down.
bool IsHotKeyHeld(const CHotKey& hotKey);

struct CKeyBinding {
    std::string strLegend; // the key's legend from [SKeySilk], as the key panel shows it
    std::string strText;   // the combination as written, blanks at either end removed
    bool bValid = false;   // the text names a combination
    CHotKey hotKey;

    bool operator==(const CKeyBinding& other) const {
        return strLegend == other.strLegend && strText == other.strText && bValid == other.bValid &&
               hotKey == other.hotKey;
    }
};

struct CKeyBindings {
    int nKeyCount = 0; // the machine's keys; the others get no hot key
    std::array<CKeyBinding, SERVICE_KEY_COUNT> keys;

    bool operator==(const CKeyBindings& other) const {
        return nKeyCount == other.nKeyCount && keys == other.keys;
    }
};

// The bindings of the machine's first nKeyCount keys from the key settings file.
CKeyBindings ReadKeyBindings(const char* pszKeySettings, int nKeyCount);
