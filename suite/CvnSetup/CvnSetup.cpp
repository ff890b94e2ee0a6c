// The installer's custom actions, which Windows Installer runs from the package itself: what the
// administrator asks for is checked before anything changes and written into Corvane.ini once the
// files are in place; at an upgrade, a settings file changed since the older version installed it
// is kept while an unchanged one is brought up to date; and the suite's programs that run from
// the program folder are stopped before its files are replaced or removed.
#include "SuitePrograms.h"
#include "SetupStrings.h"
#include "SuiteSettingsEdit.h"

#include "../VeDerovu/KeyFile.h"
#include "../VeDerovu/FileText.h"

#include "AfxResource.h"
#include "SystemError.h"

#include <msi.h>
#include <msiquery.h>

#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// The settings files a user may edit, by their names and the package's File keys: an English
// edition's key is the name, a Japanese one's the name with JPN before the extension.
struct SettingsFile {
    const wchar_t* pszName;
    const wchar_t* pszJapaneseKey;
};
const SettingsFile kSettingsFiles[] = {{L"CvnSKey.ini", L"CvnSKeyJPN.ini"},
                                       {L"Corvane.ini", L"CorvaneJPN.ini"}};
constexpr wchar_t SUITE_SETTINGS[] = L"Corvane.ini";
// As large as an import of keys may be.
constexpr DWORD MAX_DEFAULTS_SIZE = 16 * 1024 * 1024;
constexpr DWORD CLOSE_WAIT_MS = 5000;
// Between the fields of a deferred action's data; the last field may hold line breaks.
constexpr wchar_t FIELD_END = L'\n';

template <class Get> std::wstring ReadString(Get get) {
    wchar_t szEmpty[1] = L"";
    DWORD nSize = 0;
    if (get(szEmpty, &nSize) != ERROR_MORE_DATA) {
        return std::wstring();
    }
    std::wstring strValue(++nSize, L'\0');
    if (get(&strValue[0], &nSize) != ERROR_SUCCESS) {
        return std::wstring();
    }
    strValue.resize(nSize);
    return strValue;
}

std::wstring Property(MSIHANDLE hInstall, const wchar_t* pszName) {
    return ReadString([&](wchar_t* pszValue, DWORD* pnSize) {
        return MsiGetPropertyW(hInstall, pszName, pszValue, pnSize);
    });
}

// The program folder as the installer resolved it, with its trailing backslash.
std::wstring ProgramFolder(MSIHANDLE hInstall) {
    return ReadString([&](wchar_t* pszValue, DWORD* pnSize) {
        return MsiGetTargetPathW(hInstall, L"INSTALLFOLDER", pszValue, pnSize);
    });
}

std::vector<std::wstring> Split(const std::wstring& strText, wchar_t chEnd, size_t nMaxFields) {
    std::vector<std::wstring> fields;
    size_t nPos = 0;
    while (fields.size() + 1 < nMaxFields) {
        size_t nEnd = strText.find(chEnd, nPos);
        if (nEnd == std::wstring::npos) {
            break;
        }
        fields.push_back(strText.substr(nPos, nEnd - nPos));
        nPos = nEnd + 1;
    }
    fields.push_back(strText.substr(nPos));
    return fields;
}

std::wstring SystemReason(DWORD dwError) {
    return WideText(SystemErrorText(dwError));
}

// A message of the string table with its %1, %2 filled in.
std::wstring Message(UINT nId, std::initializer_list<std::wstring> arguments) {
    return FormatModuleString(reinterpret_cast<HMODULE>(&__ImageBase), nId, arguments);
}

// Shown in a message box when the install has a user interface, and in the log always.
void Tell(MSIHANDLE hInstall, INSTALLMESSAGE kind, const std::wstring& strText) {
    PMSIHANDLE record = MsiCreateRecord(1);
    // The text stands in a field, not in the template, so that brackets in a path stay as they are.
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, strText.c_str());
    MsiProcessMessage(hInstall, kind, record);
}

UINT Refuse(MSIHANDLE hInstall, UINT nId, std::initializer_list<std::wstring> arguments) {
    Tell(hInstall, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR),
         Message(nId, arguments));
    return ERROR_INSTALL_FAILURE;
}

bool HashesMatch(const MSIFILEHASHINFO& hash, MSIHANDLE hRecord) {
    for (UINT i = 0; i < 4; ++i) {
        if (static_cast<ULONG>(MsiRecordGetInteger(hRecord, i + 1)) != hash.dwData[i]) {
            return false;
        }
    }
    return true;
}

// Whether the file is as the installed product put it there: its hash is the one in that
// product's own package.
bool AsInstalledBy(const std::wstring& strProduct, const wchar_t* pszFile,
                   const MSIFILEHASHINFO& hash) {
    std::wstring strPackage = ReadString([&](wchar_t* pszValue, DWORD* pnSize) {
        return MsiGetProductInfoW(strProduct.c_str(), L"LocalPackage", pszValue, pnSize);
    });
    PMSIHANDLE database;
    PMSIHANDLE view;
    PMSIHANDLE key = MsiCreateRecord(1);
    PMSIHANDLE record;
    MsiRecordSetStringW(key, 1, pszFile);
    return !strPackage.empty() &&
           MsiOpenDatabaseW(strPackage.c_str(), reinterpret_cast<LPCWSTR>(MSIDBOPEN_READONLY),
                            &database) == ERROR_SUCCESS &&
           MsiDatabaseOpenViewW(database,
                                L"SELECT `HashPart1`, `HashPart2`, `HashPart3`, `HashPart4` "
                                L"FROM `MsiFileHash` WHERE `File_` = ?",
                                &view) == ERROR_SUCCESS &&
           MsiViewExecute(view, key) == ERROR_SUCCESS &&
           MsiViewFetch(view, &record) == ERROR_SUCCESS && HashesMatch(hash, record);
}

// The settings files of the folder that have changed since the older products now being upgraded
// installed them (or that none of them installed); these are kept, the others get the new
// package's text.
std::vector<std::wstring> ChangedSettings(const std::wstring& strFolder,
                                          const std::wstring& strProducts) {
    std::vector<std::wstring> names;
    for (const SettingsFile& file : kSettingsFiles) {
        MSIFILEHASHINFO hash = {sizeof hash, {}};
        if (strProducts.empty() ||
            MsiGetFileHashW((strFolder + file.pszName).c_str(), 0, &hash) != ERROR_SUCCESS) {
            continue;
        }
        bool bInstalled = false;
        for (const std::wstring& strProduct : Split(strProducts, L';', SIZE_MAX)) {
            bInstalled = bInstalled || AsInstalledBy(strProduct, file.pszName, hash) ||
                         AsInstalledBy(strProduct, file.pszJapaneseKey, hash);
        }
        if (!bInstalled) {
            names.push_back(file.pszName);
        }
    }
    return names;
}

// The changed settings files, with the folder they belong in and the one where they wait while
// the older version goes with its files.
struct CKeptSettings {
    std::wstring strFolder;
    std::wstring strAside;
    std::vector<std::wstring> names;

    std::wstring Data() const {
        std::wstring strData = strFolder + FIELD_END + strAside;
        for (const std::wstring& strName : names) {
            strData += FIELD_END + strName;
        }
        return strData;
    }
    static CKeptSettings FromData(const std::wstring& strData) {
        std::vector<std::wstring> fields = Split(strData, FIELD_END, SIZE_MAX);
        CKeptSettings kept;
        if (fields.size() >= 2) {
            kept.strFolder = fields[0];
            kept.strAside = fields[1];
            kept.names.assign(fields.begin() + 2, fields.end());
        }
        return kept;
    }
};

} // namespace

// Before the features are chosen: the language of the texts to install, LANGUAGE as given ("ja"
// or "en", in any case) or else the user's interface language's. Any other value is refused, so
// that a mistyped property does not install a language nobody asked for. On an installed suite
// the language's feature is added and the other's removed, which switches the texts (and is
// nothing for the language it has).
extern "C" UINT __stdcall ChooseLanguage(MSIHANDLE hInstall) {
    std::wstring strAsked = Property(hInstall, L"LANGUAGE");
    const wchar_t* pszLanguage = nullptr;
    if (strAsked.empty()) {
        pszLanguage = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? L"ja" : L"en";
    }
    for (const wchar_t* pszKnown : {L"ja", L"en"}) {
        if (CompareStringOrdinal(strAsked.c_str(), -1, pszKnown, -1, TRUE) == CSTR_EQUAL) {
            pszLanguage = pszKnown;
        }
    }
    if (!pszLanguage) {
        return Refuse(hInstall, IDS_LANGUAGE_WRONG, {strAsked});
    }
    const bool bJapanese = pszLanguage[0] == L'j';
    const bool bSet = MsiSetPropertyW(hInstall, L"LANGUAGE", pszLanguage) == ERROR_SUCCESS &&
                      (Property(hInstall, L"Installed").empty() ||
                       (MsiSetPropertyW(hInstall, L"ADDLOCAL",
                                        bJapanese ? L"Japanese" : L"English") == ERROR_SUCCESS &&
                        MsiSetPropertyW(hInstall, L"REMOVE",
                                        bJapanese ? L"English" : L"Japanese") == ERROR_SUCCESS));
    return bSet ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}

// Before anything changes: refuses a wrong KEYCOUNT or DEFAULTS with the reason, and hands the
// deferred actions what they are to do.
extern "C" UINT __stdcall PrepareSetup(MSIHANDLE hInstall) {
    std::wstring strFolder = ProgramFolder(hInstall);
    std::wstring strCount = Property(hInstall, L"KEYCOUNT");
    int nKeyCount = AskedKeyCount(strCount);
    if (nKeyCount < 0) {
        return Refuse(hInstall, IDS_KEYCOUNT_WRONG, {strCount});
    }
    std::wstring strDefaults = Property(hInstall, L"DEFAULTS");
    std::wstring strDefaultsText;
    if (!strDefaults.empty()) {
        std::string strBytes;
        if (!ReadFileBytes(strDefaults, strBytes, MAX_DEFAULTS_SIZE)) {
            return Refuse(hInstall, IDS_DEFAULTS_UNREADABLE,
                          {strDefaults, SystemReason(GetLastError())});
        }
        CKeyTable defaults;
        int nLine = CheckKeyFile(CodePageText(strBytes), defaults);
        if (nLine < 0) {
            return Refuse(hInstall, IDS_DEFAULTS_NOT_KEYS, {strDefaults});
        }
        if (nLine > 0) {
            return Refuse(hInstall, IDS_DEFAULTS_LINE, {strDefaults, std::to_wstring(nLine)});
        }
        strDefaultsText = WideText(FormatKeyFile(defaults).c_str());
    }
    std::wstring strWrite =
        strFolder + FIELD_END + std::to_wstring(nKeyCount) + FIELD_END + strDefaultsText;
    // Copied aside now: however the installer removes the older version, it is gone before the
    // deferred actions run under Wine.
    CKeptSettings kept{strFolder,
                       Property(hInstall, L"TempFolder") + L"Corvane upgrade " +
                           Property(hInstall, L"ProductCode") + L"\\",
                       ChangedSettings(strFolder, Property(hInstall, L"WIX_UPGRADE_DETECTED"))};
    if (!kept.names.empty()) {
        CreateDirectoryW(kept.strAside.c_str(), nullptr);
    }
    for (const std::wstring& strName : kept.names) {
        if (!CopyFileW((strFolder + strName).c_str(), (kept.strAside + strName).c_str(), FALSE)) {
            return Refuse(hInstall, IDS_SETTINGS_NOT_KEPT,
                          {strFolder + strName, SystemReason(GetLastError())});
        }
    }
    return MsiSetPropertyW(hInstall, L"WriteSettings", strWrite.c_str()) == ERROR_SUCCESS &&
                   MsiSetPropertyW(hInstall, L"PutSettingsBack", kept.Data().c_str()) ==
                       ERROR_SUCCESS
               ? ERROR_SUCCESS
               : ERROR_INSTALL_FAILURE;
}

// Deferred, once the new files are in place: the changed settings files take the place of the
// new package's.
extern "C" UINT __stdcall PutSettingsBack(MSIHANDLE hInstall) {
    CKeptSettings kept = CKeptSettings::FromData(Property(hInstall, L"CustomActionData"));
    for (const std::wstring& strName : kept.names) {
        std::wstring strAside = kept.strAside + strName;
        if (!CopyFileW(strAside.c_str(), (kept.strFolder + strName).c_str(), FALSE)) {
            return Refuse(hInstall, IDS_SETTINGS_NOT_KEPT,
                          {kept.strFolder + strName, SystemReason(GetLastError())});
        }
        DeleteFileW(strAside.c_str());
    }
    RemoveDirectoryW(kept.strAside.c_str());
    return ERROR_SUCCESS;
}

// Deferred, once the files are in place: the key count and the defaults into Corvane.ini.
extern "C" UINT __stdcall WriteSettings(MSIHANDLE hInstall) {
    std::vector<std::wstring> fields = Split(Property(hInstall, L"CustomActionData"), FIELD_END, 3);
    if (fields.size() < 3 || (fields[1] == L"0" && fields[2].empty())) {
        return ERROR_SUCCESS;
    }
    CKeyTable defaults;
    bool bDefaults = !fields[2].empty();
    CString strDefaults;
    if (bDefaults &&
        (!NarrowExactly(fields[2].c_str(), static_cast<int>(fields[2].size()), strDefaults) ||
         !ParseKeyFile(std::string(strDefaults, static_cast<size_t>(strDefaults.GetLength())),
                       defaults))) {
        return ERROR_INSTALL_FAILURE;
    }
    std::wstring strPath = fields[0] + SUITE_SETTINGS;
    std::string strBytes;
    if (!ReadFileBytes(strPath, strBytes, MAX_DEFAULTS_SIZE) ||
        !WriteFileBytes(strPath, EditSuiteSettings(CodePageText(strBytes), _wtoi(fields[1].c_str()),
                                                   bDefaults ? &defaults : nullptr))) {
        return Refuse(hInstall, IDS_SETTINGS_UNWRITTEN, {strPath, SystemReason(GetLastError())});
    }
    return ERROR_SUCCESS;
}

// Before the installer looks for files in use: the installing user's programs close.
extern "C" UINT __stdcall ClosePrograms(MSIHANDLE hInstall) {
    std::wstring strFolder = ProgramFolder(hInstall);
    CloseProgramsOf(strFolder, CLOSE_WAIT_MS);
    return MsiSetPropertyW(hInstall, L"EndPrograms", strFolder.c_str()) == ERROR_SUCCESS
               ? ERROR_SUCCESS
               : ERROR_INSTALL_FAILURE;
}

// Deferred, with the installer's own rights: other users' programs are ended.
extern "C" UINT __stdcall EndPrograms(MSIHANDLE hInstall) {
    std::wstring strFolder = Property(hInstall, L"CustomActionData");
    if (!EndProgramsOf(strFolder)) {
        Tell(hInstall, INSTALLMESSAGE_INFO, Message(IDS_PROGRAMS_NOT_ENDED, {strFolder}));
    }
    return ERROR_SUCCESS;
}
