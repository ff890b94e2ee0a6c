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

bool ReadIntField(const CIniSection& section, const char* pszName, int& nValue) {
    const std::string* pRaw = section.Find(pszName);
    return !pRaw || ParseIniInt(*pRaw, nValue);
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

bool ReadKeySection(const CIniSection& section, CKeyState& state) {
    for (const CTextField& field : kTextFields) {
        const std::string* pRaw = section.Find(field.pszName);
        if (pRaw && !UnescapeIniValue(*pRaw, state.m_record.*field.pValue)) {
            return false;
        }
    }
    bool bRead = ReadIntField(section, "ReservedNumber", state.m_record.nReserved) &&
                 ReadIntField(section, "OptionFlag", state.m_bOption) &&
                 ReadIntField(section, "OptionNumber", state.m_nOptionNumber);
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
