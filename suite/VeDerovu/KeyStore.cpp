#include "KeyStore.h"

#include "KeyTableCache.h"
#include "SuiteFiles.h"

#include <shlobj.h>

#include <cstdio>

namespace {

constexpr char STORE_MUTEX[] = "Local\\CvnKeyStore";
// Another process's store call takes milliseconds; one that holds the lock this long has hung, and
// failing the call beats hanging the caller's user interface with it.
constexpr DWORD LOCK_TIMEOUT_MS = 10000;
// Far beyond six keys' worth of text; a bigger file is not ours and would only cost memory.
constexpr DWORD MAX_STORE_SIZE = 16 * 1024 * 1024;

constexpr char STORE_HEADER[] = "KeyStore";
constexpr char STORE_FORMAT[] = "Corvane key store";
constexpr int STORE_VERSION = 1;
constexpr char KEY_SECTION_PREFIX[] = "Key";

// The folder of the user's roaming settings. APPDATA is read afresh on every call, so that a
// process can point the store elsewhere.
bool GetAppDataFolder(LPSTR pszFolder) {
    DWORD dwLength = GetEnvironmentVariableA("APPDATA", pszFolder, MAX_PATH);
    if (dwLength > 0) {
        return dwLength < MAX_PATH;
    }
    return SUCCEEDED(
        SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, pszFolder));
}

bool ParseStore(const std::string& strText, CKeyTable& table) {
    CIniText ini;
    if (!ini.Parse(strText)) {
        return false;
    }
    const CIniSection* pHeader = ini.FindSection(STORE_HEADER);
    const std::string* pFormat = pHeader ? pHeader->Find("Format") : nullptr;
    const std::string* pVersion = pHeader ? pHeader->Find("Version") : nullptr;
    int nVersion = 0;
    if (!pFormat || *pFormat != STORE_FORMAT || !pVersion || !ParseIniInt(*pVersion, nVersion) ||
        nVersion != STORE_VERSION) {
        return false;
    }
    for (int i = 0; i < KEY_COUNT; ++i) {
        const CIniSection* pKey = ini.FindSection(KeySectionName(KEY_SECTION_PREFIX, i).c_str());
        if (pKey && !ReadKeySection(*pKey, table[i])) {
            return false;
        }
    }
    return true;
}

std::string FormatStore(const CKeyTable& table) {
    CIniBuilder builder;
    builder.Comment("Corvane key store: what each programmable key launches, and its option.");
    builder.Comment("Values are written as they are, except '%', control characters (such as line");
    builder.Comment("breaks) and blanks at either end, which are written as %XX (two hex digits):");
    builder.Comment("%25 for '%', %0D%0A for a line break, %20 for a leading or trailing blank.");
    builder.Section(STORE_HEADER);
    builder.Value("Format", CString(STORE_FORMAT));
    builder.Value("Version", STORE_VERSION);
    for (int i = 0; i < KEY_COUNT; ++i) {
        WriteKeySection(builder, KeySectionName(KEY_SECTION_PREFIX, i), table[i]);
    }
    return builder.Text();
}

bool WriteWholeFile(LPCSTR pszPath, const std::string& strText) {
    CHandle file(CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    auto dwSize = static_cast<DWORD>(strText.size());
    DWORD dwWritten = 0;
    bool bWritten = WriteFile(file, strText.data(), dwSize, &dwWritten, nullptr) &&
                    dwWritten == dwSize && FlushFileBuffers(file);
    return file.Close() && bWritten;
}

} // namespace

CKeyStore::CKeyStore() : m_mutex(CreateMutexA(nullptr, FALSE, STORE_MUTEX)) {
    if (m_mutex.IsValid()) {
        DWORD dwWait = WaitForSingleObject(m_mutex, LOCK_TIMEOUT_MS);
        // An abandoned lock means its holder died; the store is whole all the same, since every
        // write replaces it in one step.
        m_bLocked = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
    }
    if (!Locate(m_szFolder, m_szStore)) {
        m_szStore[0] = '\0';
    }
}

bool CKeyStore::Locate(LPSTR pszFolder, LPSTR pszStore) {
    if (!GetAppDataFolder(pszFolder) || !AppendPath(pszFolder, "Corvane")) {
        return false;
    }
    lstrcpynA(pszStore, pszFolder, MAX_PATH);
    return AppendPath(pszStore, "KeyStore.ini");
}

CKeyStore::~CKeyStore() {
    if (m_bLocked) {
        ReleaseMutex(m_mutex);
    }
}

bool CKeyStore::Load(CKeyTable& table, bool* pbFound) {
    table = CKeyTable();
    std::string strText;
    FileRead read = ReadTextFile(m_szStore, strText, MAX_STORE_SIZE);
    if (read == FileRead::Failed) {
        return false;
    }
    bool bFound = read == FileRead::Ok && ParseStore(strText, table);
    if (read != FileRead::Missing && !bFound) {
        table = CKeyTable();
        if (!SetAside()) {
            return false;
        }
    }
    if (pbFound) {
        *pbFound = bFound;
    }
    RememberKeyTable(m_szStore, table);
    return true;
}

bool CKeyStore::Save(const CKeyTable& table) {
    std::string strText = FormatStore(table);
    char szTemp[MAX_PATH];
    if (strText.size() > MAX_STORE_SIZE || !PathInFolder("KeyStore.new", szTemp)) {
        return false;
    }
    if (!CreateDirectoryA(m_szFolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    // The user may protect the store by making it read-only; replacing it would undo that.
    DWORD dwAttributes = GetFileAttributesA(m_szStore);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    if (WriteWholeFile(szTemp, strText) &&
        MoveFileExA(szTemp, m_szStore, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        AdvanceStoreGeneration();
        RememberKeyTable(m_szStore, table);
        return true;
    }
    DeleteFileA(szTemp);
    return false;
}

bool CKeyStore::PathInFolder(LPCSTR pszName, LPSTR pszPath) const {
    lstrcpynA(pszPath, m_szFolder, MAX_PATH);
    return AppendPath(pszPath, pszName);
}

bool CKeyStore::SetAside() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    char szStamp[32];
    std::snprintf(szStamp, sizeof szStamp, "%04u%02u%02u-%02u%02u%02u", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond);
    // Two stores damaged within one second get numbered names; none is ever overwritten.
    for (int nCopy = 1; nCopy < 100; ++nCopy) {
        char szName[64];
        if (nCopy == 1) {
            std::snprintf(szName, sizeof szName, "KeyStore.damaged-%s.ini", szStamp);
        } else {
            std::snprintf(szName, sizeof szName, "KeyStore.damaged-%s-%d.ini", szStamp, nCopy);
        }
        char szAside[MAX_PATH];
        if (!PathInFolder(szName, szAside)) {
            return false;
        }
        if (MoveFileExA(m_szStore, szAside, MOVEFILE_WRITE_THROUGH)) {
            AdvanceStoreGeneration();
            return true;
        }
        DWORD dwError = GetLastError();
        if (dwError != ERROR_ALREADY_EXISTS && dwError != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}
