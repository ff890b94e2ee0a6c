#include "KeyState.h"

#include <iterator>

namespace {

struct CTextField {
    const char* pszName;
    CString KeyAssignment::*pValue;
};

// The six assignment strings come first: HasAssignment looks at those alone.
constexpr int ASSIGNMENT_TEXT_COUNT = 6;
const CTextField kTextFields[] = {
    {"Title", &KeyAssignment::Title},           {"Comment", &KeyAssignment::Comment},
    {"Target", &KeyAssignment::Target},         {"WorkingFolder", &KeyAssignment::WorkingFolder},
    {"Parameters", &KeyAssignment::Parameters}, {"IconSource", &KeyAssignment::IconSource},
    {"Reserved1", &KeyAssignment::Reserved1},   {"Reserved2", &KeyAssignment::Reserved2},
};

bool IsNamed(const CIniEntry& entry, const char* pszName) {
    return lstrcmpiA(entry.strName.c_str(), pszName) == 0;
}

int* NumberField(const CIniEntry& entry, CKeyState& state) {
    return IsNamed(entry, "ReservedNumber") ? &state.m_record.nReserved
           : IsNamed(entry, "OptionFlag")   ? &state.m_bOption
           : IsNamed(entry, "OptionNumber") ? &state.m_nOptionNumber
                                            : nullptr;
}

} // namespace

std::string KeySectionName(const char* pszPrefix, int nKeyIndex) {
    return pszPrefix + std::to_string(nKeyIndex + 1);
}

bool HasAssignment(const KeyAssignment& record) {
    for (int i = 0; i < ASSIGNMENT_TEXT_COUNT; ++i) {
        if (!(record.*kTextFields[i].pValue).IsEmpty()) {
            return true;
        }
    }
    return false;
}

KeyValueRead ReadKeyValue(const CIniEntry& entry, CKeyState& state) {
    for (const CTextField& field : kTextFields) {
        if (IsNamed(entry, field.pszName)) {
            return UnescapeIniValue(entry.strValue, state.m_record.*field.pValue)
                       ? KeyValueRead::Ok
                       : KeyValueRead::Malformed;
        }
    }
    int* pNumber = NumberField(entry, state);
    if (!pNumber) {
        return KeyValueRead::Unknown;
    }
    return ParseIniInt(entry.strValue, *pNumber) ? KeyValueRead::Ok : KeyValueRead::Malformed;
}

bool ReadKeySection(const CIniSection& section, CKeyState& state) {
    bool bRead = true;
    for (const CIniEntry& entry : section.m_entries) {
        bRead = bRead && ReadKeyValue(entry, state) != KeyValueRead::Malformed;
    }
    state.m_bOption = state.m_bOption != 0;
    return bRead;
}

void WriteKeySection(CIniBuilder& builder, const std::string& strSection, const CKeyState& state) {
    builder.Section(strSection.c_str());
    // In the record's own order: the integer stands between the assignment and the reserved text.
    auto writeTexts = [&](const CTextField* pFirst, const CTextField* pEnd) {
        for (const CTextField* pField = pFirst; pField != pEnd; ++pField) {
            builder.Value(pField->pszName, state.m_record.*pField->pValue);
        }
    };
    writeTexts(std::begin(kTextFields), kTextFields + ASSIGNMENT_TEXT_COUNT);
    builder.Value("ReservedNumber", state.m_record.nReserved);
    writeTexts(kTextFields + ASSIGNMENT_TEXT_COUNT, std::end(kTextFields));
    builder.Value("OptionFlag", state.m_bOption);
    builder.Value("OptionNumber", state.m_nOptionNumber);
}
