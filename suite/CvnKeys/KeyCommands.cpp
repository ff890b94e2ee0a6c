#include "KeyCommands.h"

#include "ConsoleStrings.h"
#include "ConsoleText.h"
#include "KeyListing.h"

#include "../../base/NarrowPath.h"
#include "../../base/NewAssignment.h"
#include "../../dialogs/DetailLimits.h"
#include "../../dialogs/PathText.h"
#include "../../dialogs/WorkingFolder.h"
#include "../../res/resource.h"

#include "SystemError.h"

#include <cwctype>
#include <optional>
#include <thread>

namespace {

// A command's words: the positional arguments in order, and the options with their values.
struct CCommandLine {
    std::wstring strCommand;
    std::vector<std::wstring> words;
    std::vector<std::pair<std::wstring, std::wstring>> options;
};

bool SameWord(const std::wstring& strFirst, const wchar_t* pszSecond) {
    return lstrcmpiW(strFirst.c_str(), pszSecond) == 0;
}

ExitCode Fail(UINT nId, std::initializer_list<std::wstring> args = {}) {
    Write(Output::Error, ConsoleText(nId, args) + L"\n");
    return EXIT_FAILED;
}

// A message the key panel also gives, in the locale library's words.
ExitCode FailAsPanel(UINT nId) {
    Write(Output::Error, LocaleText(nId) + L"\n");
    return EXIT_FAILED;
}

ExitCode Usage(UINT nId, std::initializer_list<std::wstring> args = {}) {
    Write(Output::Error, ConsoleText(nId, args) + L"\n" + ConsoleText(IDS_USAGE_HINT) + L"\n");
    return EXIT_USAGE;
}

ExitCode WrongArguments(const CCommandLine& line) {
    return Usage(IDS_WRONG_ARGUMENTS, {line.strCommand});
}

// The system's reason for the last failure, in words.
std::wstring LastErrorText() {
    return WideText(SystemErrorText(GetLastError()));
}

ExitCode ChangeFailed() {
    return Fail(IDS_CHANGE_FAILED, {LastErrorText()});
}

// Splits words from options; an option named in valued takes the next argument as its value.
// False (the message written) when an option is unknown or lacks its value.
bool Parse(const std::vector<std::wstring>& args, const std::vector<const wchar_t*>& valued,
           CCommandLine& line) {
    line.strCommand = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i].size() < 2 || args[i].compare(0, 2, L"--") != 0) {
            line.words.push_back(args[i]);
            continue;
        }
        bool bKnown = false;
        for (const wchar_t* pszName : valued) {
            bKnown = bKnown || SameWord(args[i], pszName);
        }
        bool bFlag = SameWord(args[i], L"--json") && SameWord(line.strCommand, L"list");
        if (!bKnown && !bFlag) {
            Usage(IDS_UNKNOWN_OPTION, {args[i], line.strCommand});
            return false;
        }
        if (bKnown && i + 1 == args.size()) {
            Usage(IDS_OPTION_VALUE, {args[i]});
            return false;
        }
        const std::wstring& strName = args[i];
        line.options.emplace_back(strName, bKnown ? args[++i] : std::wstring());
    }
    return true;
}

const std::wstring* Option(const CCommandLine& line, const wchar_t* pszName) {
    const std::wstring* pValue = nullptr;
    for (const auto& option : line.options) {
        pValue = SameWord(option.first, pszName) ? &option.second : pValue;
    }
    return pValue;
}

int KeyCount() {
    int nCount = MAX_KEYS;
    ZuComGetSKeyNum(&nCount);
    return nCount;
}

// "S3", "s3" or "3": the key number, or 0 (the message written).
int KeyNumber(const std::wstring& strKey) {
    std::wstring strNumber =
        strKey.size() == 2 && std::towupper(strKey[0]) == L'S' ? strKey.substr(1) : strKey;
    int nCount = KeyCount();
    if (strNumber.size() == 1 && strNumber[0] >= L'1' && strNumber[0] < L'1' + nCount) {
        return strNumber[0] - L'0';
    }
    Usage(IDS_NOT_A_KEY, {strKey, std::to_wstring(nCount)});
    return 0;
}

std::wstring KeyName(int nKey) {
    return L"S" + std::to_wstring(nKey);
}

// The text as the key store keeps it, or nothing (the message written).
std::optional<CString> StoredText(const std::wstring& strText, const wchar_t* pszOption,
                                  int nMaxChars) {
    CString strNarrow;
    if (!NarrowExactly(strText.c_str(), static_cast<int>(strText.size()), strNarrow)) {
        Fail(IDS_TEXT_NOT_KEPT, {pszOption});
        return std::nullopt;
    }
    if (strNarrow.GetLength() > nMaxChars) {
        Fail(IDS_TOO_LONG, {pszOption, std::to_wstring(nMaxChars)});
        return std::nullopt;
    }
    return strNarrow;
}

// A path given on the command line, made whole against the current folder and narrowed as the
// module keeps paths; false (the message written) when it cannot be kept.
bool StoredPath(const std::wstring& strPath, NarrowPath& path) {
    std::wstring strFull(MAX_PATH * 2, L'\0');
    DWORD nLength =
        GetFullPathNameW(strPath.c_str(), static_cast<DWORD>(strFull.size()), &strFull[0], nullptr);
    strFull.resize(nLength > 0 && nLength < strFull.size() ? nLength : 0);
    // A folder's one trailing backslash stays as given.
    if (!strPath.empty() && strPath.back() == L'\\' && !strFull.empty() &&
        strFull.back() != L'\\') {
        strFull += L'\\';
    }
    if (strFull.empty() || !NarrowPathOf(strFull.c_str(), path)) {
        FailAsPanel(IDS_NAME_NOT_KEPT);
        return false;
    }
    return true;
}

// The hold option --hold asks for: on with its tenths, or off; nothing (the message written) when
// it is neither.
std::optional<std::pair<int, int>> HoldOption(const std::wstring& strHold, int nTenthsBefore) {
    if (SameWord(strHold, L"off")) {
        return std::make_pair(0, nTenthsBefore);
    }
    bool bDigits = !strHold.empty() && strHold.size() <= 2 &&
                   strHold.find_first_not_of(L"0123456789") == std::wstring::npos;
    int nTenths = bDigits ? std::stoi(strHold) : 0;
    if (nTenths < kOptionMin || nTenths > kOptionMax) {
        Usage(IDS_HOLD_RANGE);
        return std::nullopt;
    }
    return std::make_pair(1, nTenths);
}

ExitCode List(const CCommandLine& line) {
    std::vector<CKeyLine> keys(static_cast<size_t>(KeyCount()));
    std::vector<std::thread> looks;
    for (size_t i = 0; i < keys.size(); ++i) {
        const int nKey = static_cast<int>(i) + 1;
        CKeyLine& key = keys[i];
        KeyAssignment record;
        key.strKey = KeyName(nKey);
        // The option's call fails only when the keys cannot be read; the record's also says
        // false for a key without assignment.
        int bHold = 0;
        if (!ZuComGetKeyOption(nKey - 1, &bHold, &key.nHoldTenths)) {
            return Fail(IDS_READ_FAILED, {LastErrorText()});
        }
        key.bHold = bHold != 0;
        key.bAssigned = ZuComGetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey) != 0;
        key.strTitle = WideText(record.Title);
        key.strComment = WideText(record.Comment);
        key.strTarget = WideText(record.Target);
        key.strFolder = WideText(record.WorkingFolder);
        key.strParameters = WideText(record.Parameters);
        // Each look waits a second at most, and all of them wait together.
        if (key.bAssigned) {
            looks.emplace_back([&key, record] {
                ZuComCheckTarget(record.Target, record.WorkingFolder, &key.nHealth);
            });
        }
    }
    for (std::thread& look : looks) {
        look.join();
    }
    bool bJson = Option(line, L"--json") != nullptr;
    Write(Output::Standard, bJson ? KeyJson(keys) : KeyTable(keys), bJson);
    return EXIT_DONE;
}

ExitCode Export(const CCommandLine& line) {
    CString strFile;
    if (!ZuComExportKeys(&strFile)) {
        return Fail(IDS_READ_FAILED, {LastErrorText()});
    }
    if (!WriteAllBytes(line.words[0],
                       std::string(strFile, static_cast<size_t>(strFile.GetLength())))) {
        return Fail(IDS_FILE_WRITE_FAILED, {line.words[0], LastErrorText()});
    }
    return EXIT_DONE;
}

ExitCode Import(const CCommandLine& line) {
    const std::wstring& strPath = line.words[0];
    std::string strBytes;
    if (!ReadAllBytes(strPath, strBytes)) {
        return Fail(IDS_FILE_READ_FAILED, {strPath, LastErrorText()});
    }
    int nLine = 0;
    if (ZuComImportKeys(strBytes.data(), static_cast<int>(strBytes.size()), &nLine)) {
        return EXIT_DONE;
    }
    if (GetLastError() != ERROR_INVALID_DATA) {
        return ChangeFailed();
    }
    return nLine < 0 ? Fail(IDS_IMPORT_NOT_KEYS, {strPath})
                     : Fail(IDS_IMPORT_LINE, {strPath, std::to_wstring(nLine)});
}

ExitCode Assign(const CCommandLine& line) {
    int nKey = KeyNumber(line.words[0]);
    if (!nKey) {
        return EXIT_USAGE;
    }
    int bHold = 0;
    int nTenths = 0;
    const std::wstring* pHold = Option(line, L"--hold");
    if (!ZuComGetKeyOption(nKey - 1, &bHold, &nTenths)) {
        return Fail(IDS_READ_FAILED, {LastErrorText()});
    }
    nTenths = ShownOptionNumber(nTenths);
    std::optional<std::pair<int, int>> hold =
        pHold ? HoldOption(*pHold, nTenths) : std::make_pair(bHold, nTenths);
    if (!hold) {
        return EXIT_USAGE;
    }
    NarrowPath target;
    if (!StoredPath(line.words[1], target)) {
        return EXIT_FAILED;
    }
    // The file search below would wait as long as a network server that is down takes.
    int nHealth = ZUCOM_HEALTH_OK;
    if (ZuComCheckTarget(target.strPath, "", &nHealth) && nHealth == ZUCOM_HEALTH_NO_ANSWER) {
        return Fail(IDS_NO_ANSWER, {WideText(target.strPath)});
    }
    if (!IsValidTarget(target.strPath)) {
        return FailAsPanel(IDS_TARGET_INVALID);
    }
    // The record a drop of the same path builds, then what the options name.
    KeyAssignment record;
    FillNewAssignment(LookupPath(target.strPath), record, target.strLongName);
    record.Target = target.strPath;
    const struct {
        const wchar_t* pszOption;
        int nMaxChars;
        CString KeyAssignment::*pField;
    } kTexts[] = {{L"--title", kTitleChars, &KeyAssignment::Title},
                  {L"--comment", kCommentChars, &KeyAssignment::Comment},
                  {L"--params", kPathChars, &KeyAssignment::Parameters}};
    for (const auto& text : kTexts) {
        const std::wstring* pValue = Option(line, text.pszOption);
        std::optional<CString> strValue =
            pValue ? StoredText(*pValue, text.pszOption, text.nMaxChars) : record.*text.pField;
        if (!strValue) {
            return EXIT_FAILED;
        }
        record.*text.pField = *strValue;
    }
    if (const std::wstring* pFolder = Option(line, L"--folder")) {
        NarrowPath folder;
        if (!pFolder->empty() && !StoredPath(*pFolder, folder)) {
            return EXIT_FAILED;
        }
        if (folder.strPath.GetLength() > kPathChars) {
            return Fail(IDS_TOO_LONG, {L"--folder", std::to_wstring(kPathChars)});
        }
        if (UINT nProblem = WorkingFolderProblem(folder.strPath)) {
            return FailAsPanel(nProblem);
        }
        record.WorkingFolder = folder.strPath;
    }
    if (!ZuComSetKeyAssignment(&record, ZUCOM_EVENT_BASE + nKey, hold->first, hold->second)) {
        return ChangeFailed();
    }
    return EXIT_DONE;
}

ExitCode Clear(const CCommandLine& line) {
    int nKey = KeyNumber(line.words[0]);
    if (!nKey) {
        return EXIT_USAGE;
    }
    KeyAssignment empty;
    return ZuComSetAppDataOfHarlEvent(&empty, ZUCOM_EVENT_BASE + nKey) ? EXIT_DONE : ChangeFailed();
}

ExitCode Reset(const CCommandLine&) {
    return ZuComInitSKeyData(1) ? EXIT_DONE : ChangeFailed();
}

ExitCode Undo(const CCommandLine&) {
    if (ZuComUndoKeys()) {
        return EXIT_DONE;
    }
    return GetLastError() == ERROR_NO_MORE_ITEMS ? Fail(IDS_NOTHING_TO_UNDO) : ChangeFailed();
}

// A set call that failed, in the user's words.
ExitCode SetFailed(const std::wstring& strName, int nLine) {
    switch (GetLastError()) {
    case ERROR_INVALID_NAME:
        return Fail(IDS_SET_NAME, {strName});
    case ERROR_FILE_NOT_FOUND:
        return Fail(IDS_SET_MISSING, {strName});
    case ERROR_INVALID_DATA:
        return Fail(IDS_SET_DAMAGED, {strName, std::to_wstring(nLine)});
    default:
        return ChangeFailed();
    }
}

ExitCode ListSets() {
    CString strNames;
    CString strCurrent;
    if (!ZuComListKeySets(&strNames, &strCurrent)) {
        return Fail(IDS_READ_FAILED, {LastErrorText()});
    }
    std::wstring strList;
    for (int nStart = 0, nEnd; (nEnd = strNames.Find('\n', nStart)) >= 0; nStart = nEnd + 1) {
        CString strName = strNames.Mid(nStart, nEnd - nStart);
        strList += (strName == strCurrent ? L"* " : L"  ") + WideText(strName) + L"\n";
    }
    Write(Output::Standard, strList.empty() ? ConsoleText(IDS_NO_SETS) + L"\n" : strList);
    return EXIT_DONE;
}

ExitCode KeySet(const CCommandLine& line) {
    if (line.words.size() == 1 && SameWord(line.words[0], L"list")) {
        return ListSets();
    }
    if (line.words.size() != 2) {
        return WrongArguments(line);
    }
    const std::wstring& strAction = line.words[0];
    const std::wstring& strName = line.words[1];
    CString strSet;
    if (!NarrowExactly(strName.c_str(), -1, strSet)) {
        return Fail(IDS_SET_NAME, {strName});
    }
    int nLine = 0;
    int nDone = 0;
    if (SameWord(strAction, L"save")) {
        nDone = ZuComSaveKeySet(strSet);
    } else if (SameWord(strAction, L"use")) {
        nDone = ZuComUseKeySet(strSet, &nLine);
    } else if (SameWord(strAction, L"delete")) {
        nDone = ZuComDeleteKeySet(strSet);
    } else {
        return WrongArguments(line);
    }
    return nDone ? EXIT_DONE : SetFailed(strName, nLine);
}

} // namespace

ExitCode RunKeyCommand(const std::vector<std::wstring>& args) {
    const struct {
        const wchar_t* pszName;
        ExitCode (*pRun)(const CCommandLine&);
        std::vector<const wchar_t*> valued;
        int nWords; // -1: the command counts them itself
    } kCommands[] = {
        {L"list", List, {}, 0},
        {L"export", Export, {}, 1},
        {L"import", Import, {}, 1},
        {L"assign", Assign, {L"--title", L"--comment", L"--folder", L"--params", L"--hold"}, 2},
        {L"clear", Clear, {}, 1},
        {L"reset", Reset, {}, 0},
        {L"undo", Undo, {}, 0},
        {L"set", KeySet, {}, -1},
    };
    if (args.empty()) {
        Write(Output::Error, ConsoleText(IDS_USAGE_HINT) + L"\n");
        return EXIT_USAGE;
    }
    for (const auto& command : kCommands) {
        CCommandLine line;
        if (SameWord(args[0], command.pszName)) {
            if (!Parse(args, command.valued, line)) {
                return EXIT_USAGE;
            }
            if (command.nWords >= 0 && line.words.size() != static_cast<size_t>(command.nWords)) {
                return WrongArguments(line);
            }
            return command.pRun(line);
        }
    }
    return Usage(IDS_UNKNOWN_COMMAND, {args[0]});
}
