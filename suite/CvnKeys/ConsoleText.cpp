#include "ConsoleText.h"

#include "AfxResource.h"
#include "CString.h"

#include "../../base/ResourceText.h"
#include "../VeDerovu/FileText.h"

namespace {

// Far beyond any key file; what is bigger is not one.
constexpr DWORD MAX_INPUT_SIZE = 16 * 1024 * 1024;

HANDLE OutputHandle(Output output) {
    return GetStdHandle(output == Output::Standard ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool IsConsole(HANDLE hOutput) {
    DWORD dwMode = 0;
    return GetConsoleMode(hOutput, &dwMode) != FALSE;
}

bool WriteWhole(HANDLE hFile, const std::string& strBytes) {
    DWORD dwWritten = 0;
    return WriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten,
                     nullptr) &&
           dwWritten == strBytes.size();
}

std::string Encoded(const std::wstring& strText, UINT nCodePage) {
    int nText = static_cast<int>(strText.size());
    int nSize =
        WideCharToMultiByte(nCodePage, 0, strText.data(), nText, nullptr, 0, nullptr, nullptr);
    std::string strBytes(static_cast<size_t>(nSize > 0 ? nSize : 0), '\0');
    if (nSize > 0) {
        WideCharToMultiByte(nCodePage, 0, strText.data(), nText, &strBytes[0], nSize, nullptr,
                            nullptr);
    }
    return strBytes;
}

std::wstring Decoded(const std::string& strBytes, UINT nCodePage) {
    int nBytes = static_cast<int>(strBytes.size());
    int nSize = MultiByteToWideChar(nCodePage, 0, strBytes.data(), nBytes, nullptr, 0);
    std::wstring strText(static_cast<size_t>(nSize > 0 ? nSize : 0), L'\0');
    if (nSize > 0) {
        MultiByteToWideChar(nCodePage, 0, strBytes.data(), nBytes, &strText[0], nSize);
    }
    return strText;
}

void WriteText(HANDLE hOutput, const std::wstring& strText, bool bUtf8) {
    if (IsConsole(hOutput)) {
        DWORD dwWritten = 0;
        WriteConsoleW(hOutput, strText.data(), static_cast<DWORD>(strText.size()), &dwWritten,
                      nullptr);
        return;
    }
    UINT nCodePage = bUtf8 ? CP_UTF8 : GetConsoleOutputCP();
    WriteWhole(hOutput, Encoded(strText, nCodePage ? nCodePage : GetOEMCP()));
}

} // namespace

std::wstring ConsoleText(UINT nId, std::initializer_list<std::wstring> args) {
    return FormatModuleString(GetModuleHandleW(nullptr), nId, args);
}

std::wstring LocaleText(UINT nId) {
    return WideText(FormatResourceText(nId, {}));
}

void Write(Output output, const std::wstring& strText, bool bUtf8) {
    std::wstring strLines;
    for (wchar_t ch : strText) {
        strLines += ch == L'\n' ? L"\r\n" : std::wstring(1, ch);
    }
    WriteText(OutputHandle(output), strLines, bUtf8);
}

bool WriteBytes(const std::string& strBytes) {
    HANDLE hOutput = OutputHandle(Output::Standard);
    if (IsConsole(hOutput)) {
        WriteText(
            hOutput,
            Decoded(strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? strBytes.substr(3) : strBytes,
                    CP_UTF8),
            false);
        return true;
    }
    return WriteWhole(hOutput, strBytes);
}

bool ReadAllBytes(const std::wstring& strPath, std::string& strBytes) {
    return strPath == L"-" ? ReadAllFrom(GetStdHandle(STD_INPUT_HANDLE), strBytes, MAX_INPUT_SIZE)
                           : ReadFileBytes(strPath, strBytes, MAX_INPUT_SIZE);
}

bool WriteAllBytes(const std::wstring& strPath, const std::string& strBytes) {
    return strPath == L"-" ? WriteBytes(strBytes) : WriteFileBytes(strPath, strBytes);
}
