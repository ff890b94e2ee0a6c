// What the suite keeps for each programmable key: its assignment and its option. The user's key
// store and the suite's defaults in Corvane.ini lay a key out alike, one section per key.
#pragma once

#include "IniText.h"
#include "VeDerovu.h"

#include <array>

constexpr int KEY_COUNT = 6;
constexpr int DEFAULT_OPTION_NUMBER = 5;

inline bool IsOptionNumber(int nNumber) {
    return nNumber >= 1 && nNumber <= 99;
}

struct CKeyState {
    KeyAssignment m_record;
    int m_bOption = 0;
    int m_nOptionNumber = DEFAULT_OPTION_NUMBER;
};

using CKeyTable = std::array<CKeyState, KEY_COUNT>;

// "Key3" for the store's section of key 3 (index 2).
std::string KeySectionName(const char* pszPrefix, int nKeyIndex);

// A key is assigned while any of the six strings the key panel shows or launches is set.
bool HasAssignment(const KeyAssignment& record);

enum class KeyValueRead { Ok, Unknown, Malformed };
// Reads one value of a key's section into state; Unknown when the name is none of a key's.
KeyValueRead ReadKeyValue(const CIniEntry& entry, CKeyState& state);
// Reads the fields present into state (the others keep their values; a name given twice counts
// as last given); false when one of them is malformed.
bool ReadKeySection(const CIniSection& section, CKeyState& state);
void WriteKeySection(CIniBuilder& builder, const std::string& strSection, const CKeyState& state);
