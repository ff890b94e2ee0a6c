#include "KeyStore.h"

#include "KeyFile.h"
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

constexpr char SET_ASIDE_NOTICE[] = "KeyStore.set-aside.txt";

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

} // namespace

CKeyStore::CKeyStore() : m_mutex(CreateMutexA(nullptr, FALSE, STORE_MUTEX)) {
    if (m_mutex.IsValid()) {
        DWORD dwWait = WaitForSingleObject(m_mutex, LOCK_TIMEOUT_MS);
        // An abandoned lock means its holder died; the store is whole all the same, since every
        // write replaces it in one step.
        m_bLocked = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
    }
    m_wait = CHoldWait(); // another program's hold is waited out from here on
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

DWORD CKeyStore::OpenError() const {
    return !m_bLocked ? ERROR_TIMEOUT : ERROR_PATH_NOT_FOUND;
}

bool CKeyStore::Load(CKeyTable& table, bool* pbFound) {
    table = CKeyTable();
    std::string strText;
    FileRead read = ReadTextFile(m_szStore, strText, MAX_STORE_SIZE, m_wait);
    // A store that cannot be read (held by another program, access denied) is no damaged store.
    if (read == FileRead::Failed) {
        return false;
    }
    bool bFound = read == FileRead::Ok && ParseKeyFile(strText, table);
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
    std::string strText = FormatKeyFile(table);
    if (strText.size() > MAX_STORE_SIZE) {
        return Failed(ERROR_FILE_TOO_LARGE);
    }
    // The user may protect the store by making it read-only; replacing it would undo that.
    DWORD dwAttributes = GetFileAttributesA(m_szStore);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY)) {
        return Failed(ERROR_FILE_READ_ONLY);
    }
    if (!ReplaceFileIn("", "KeyStore.new", m_szStore, strText)) {
        return false;
    }
    AdvanceStoreGeneration();
    RememberKeyTable(m_szStore, table);
    return true;
}

bool CKeyStore::PathInFolder(LPCSTR pszName, LPSTR pszPath) const {
    lstrcpynA(pszPath, m_szFolder, MAX_PATH);
    return AppendPath(pszPath, pszName);
}

bool CKeyStore::ReplaceFileIn(LPCSTR pszFolder, LPCSTR pszTempName, LPCSTR pszPath,
                              const std::string& strText) {
    char szFolder[MAX_PATH];
    char szTemp[MAX_PATH];
    if (!PathInFolder(pszFolder, szFolder) ||
        !PathInFolder((std::string(pszFolder) + "\\" + pszTempName).c_str(), szTemp)) {
        return Failed(ERROR_FILENAME_EXCED_RANGE);
    }
    if (!CreateDirectoryA(szFolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    return ReplaceWholeFile(pszPath, szTemp, strText, m_wait);
}

std::vector<std::string> CKeyStore::KeyFilesIn(LPCSTR pszFolder) const {
    std::vector<std::string> names;
    char szPattern[MAX_PATH];
    if (!PathInFolder((std::string(pszFolder) + "\\*.ini").c_str(), szPattern)) {
        return names;
    }
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA(szPattern, &data));
    for (bool bMore = find.IsValid(); bMore; bMore = FindNextFileA(find, &data) != FALSE) {
        // The pattern matches short names too: "a.inix" may be "A~1.INI".
        std::string strName = data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && strName.size() > 4 &&
            lstrcmpiA(strName.c_str() + strName.size() - 4, ".ini") == 0) {
            names.push_back(strName.substr(0, strName.size() - 4));
        }
    }
    return names;
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
            return Failed(ERROR_FILENAME_EXCED_RANGE);
        }
        if (WhileHeld(m_wait, [&] {
                return MoveFileExA(m_szStore, szAside, MOVEFILE_WRITE_THROUGH) != FALSE;
            })) {
            AdvanceStoreGeneration();
            LeaveSetAsideNotice(szAside);
            return true;
        }
        DWORD dwError = GetLastError();
        if (dwError != ERROR_ALREADY_EXISTS && dwError != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return Failed(ERROR_FILE_EXISTS);
}

// Whoever reads the store first after it has been set aside (the key panel at its start, or the
// service) tells the user where the copy lies; the notice waits in a file until then, so that it
// outlives the process that set the store aside.
void CKeyStore::LeaveSetAsideNotice(LPCSTR pszAside) const {
    char szNotice[MAX_PATH];
    if (PathInFolder(SET_ASIDE_NOTICE, szNotice)) {
        WriteWholeFile(szNotice, pszAside);
    }
}

bool CKeyStore::TakeSetAsideNotice(LPSTR pszAside) {
    char szNotice[MAX_PATH];
    std::string strAside;
    if (!PathInFolder(SET_ASIDE_NOTICE, szNotice) ||
        ReadTextFile(szNotice, strAside, MAX_PATH - 1, m_wait) != FileRead::Ok ||
        !DeleteFileA(szNotice)) {
        return false;
    }
    lstrcpynA(pszAside, strAside.c_str(), MAX_PATH);
    return true;
}
