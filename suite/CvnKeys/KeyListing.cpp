#include "KeyListing.h"

#include "ConsoleText.h"
#include "ConsoleStrings.h"

#include "../VeDerovu/VeDerovu.h"

#include <algorithm>
#include <cwchar>

namespace {

// The names of the health in JSON, which scripts compare: never translated.
const wchar_t* const kHealthNames[] = {L"ok", L"target-missing", L"drive-missing",
                                       L"folder-missing", L"no-answer"};
const UINT kHealthTexts[] = {IDS_HEALTH_OK, IDS_HEALTH_TARGET_MISSING, IDS_HEALTH_DRIVE_MISSING,
                             IDS_HEALTH_FOLDER_MISSING, IDS_HEALTH_NO_ANSWER};

bool IsHealth(int nHealth) {
    return nHealth >= 0 && nHealth < static_cast<int>(std::size(kHealthNames));
}

std::wstring OneLine(std::wstring strText) {
    std::replace_if(
        strText.begin(), strText.end(), [](wchar_t ch) { return ch < L' '; }, L' ');
    return strText;
}

std::vector<std::wstring> Cells(const CKeyLine& key) {
    if (!key.bAssigned) {
        return {key.strKey, L"-", L"-", ConsoleText(IDS_NOT_ASSIGNED)};
    }
    std::wstring strHold = key.bHold
                               ? ConsoleText(IDS_HOLD_TENTHS, {std::to_wstring(key.nHoldTenths)})
                               : ConsoleText(IDS_HOLD_OFF);
    std::wstring strHealth = IsHealth(key.nHealth) ? ConsoleText(kHealthTexts[key.nHealth]) : L"?";
    return {key.strKey,
            strHealth,
            strHold,
            OneLine(key.strTitle),
            OneLine(key.strComment),
            OneLine(key.strTarget),
            OneLine(key.strFolder),
            OneLine(key.strParameters)};
}

// The columns a text takes in a console: East Asian wide and full-width characters take two, so
// that a Japanese heading or title does not push the columns after it out of line.
size_t Columns(const std::wstring& strText) {
    size_t nColumns = 0;
    for (wchar_t ch : strText) {
        const bool bWide = (ch >= 0x1100 && ch <= 0x115F) || (ch >= 0x2E80 && ch <= 0xA4CF) ||
                           (ch >= 0xAC00 && ch <= 0xD7A3) || (ch >= 0xF900 && ch <= 0xFAFF) ||
                           (ch >= 0xFE30 && ch <= 0xFE4F) || (ch >= 0xFF00 && ch <= 0xFF60) ||
                           (ch >= 0xFFE0 && ch <= 0xFFE6);
        nColumns += bWide ? 2 : 1;
    }
    return nColumns;
}

std::wstring JsonString(const std::wstring& strText) {
    std::wstring strJson = L"\"";
    for (wchar_t ch : strText) {
        if (ch == L'"' || ch == L'\\') {
            strJson += L'\\';
            strJson += ch;
        } else if (ch < L' ') {
            wchar_t szEscape[8];
            std::swprintf(szEscape, 8, L"\\u%04x", static_cast<unsigned>(ch));
            strJson += szEscape;
        } else {
            strJson += ch;
        }
    }
    return strJson + L"\"";
}

} // namespace

std::wstring KeyTable(const std::vector<CKeyLine>& keys) {
    std::vector<std::vector<std::wstring>> rows;
    std::wstring strHeadings = ConsoleText(IDS_LIST_HEADINGS);
    rows.emplace_back();
    for (size_t nStart = 0; nStart <= strHeadings.size();) {
        size_t nEnd = std::min(strHeadings.find(L'|', nStart), strHeadings.size());
        rows.back().push_back(strHeadings.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    for (const CKeyLine& key : keys) {
        rows.push_back(Cells(key));
    }
    std::vector<size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], Columns(row[i]));
        }
    }
    std::wstring strTable;
    for (const auto& row : rows) {
        std::wstring strLine;
        for (size_t i = 0; i < row.size(); ++i) {
            strLine += row[i] + std::wstring(widths[i] - Columns(row[i]) + 2, L' ');
        }
        strTable += strLine.substr(0, strLine.find_last_not_of(L' ') + 1) + L"\n";
    }
    return strTable;
}

std::wstring KeyJson(const std::vector<CKeyLine>& keys) {
    std::wstring strJson = L"{\n  \"keys\": [";
    for (size_t i = 0; i < keys.size(); ++i) {
        const CKeyLine& key = keys[i];
        std::wstring strHealth = key.bAssigned && IsHealth(key.nHealth)
                                     ? JsonString(kHealthNames[key.nHealth])
                                     : L"null";
        strJson += (i ? L",\n    {" : L"\n    {");
        strJson += L"\"key\": " + JsonString(key.strKey) + L", \"assigned\": " +
                   (key.bAssigned ? L"true" : L"false") + L", \"title\": " +
                   JsonString(key.strTitle) + L", \"comment\": " + JsonString(key.strComment) +
                   L", \"target\": " + JsonString(key.strTarget) + L", \"workingFolder\": " +
                   JsonString(key.strFolder) + L", \"parameters\": " +
                   JsonString(key.strParameters) + L", \"hold\": " +
                   (key.bHold ? L"true" : L"false") + L", \"holdTenths\": " +
                   std::to_wstring(key.nHoldTenths) + L", \"health\": " + strHealth + L"}";
    }
    return strJson + L"\n  ]\n}\n";
}
