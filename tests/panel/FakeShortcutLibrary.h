// A stand-in for the shortcut-service library, bound through the module's table for the lifetime
// of one object: key records in memory, a service that answers or not, a key count, a key
// settings file of its own, icons made up on request, and a log of every record read and store.
#pragma once

#include "../common/ScratchFolder.h"

#include "../../base/ZuCom.h"

#include <map>
#include <string>
#include <vector>

struct FakeKeyOption {
    int bFlag = 0;
    int nNumber = 5;
};

struct FakeRecordCall {
    bool bStore; // ZuComSetAppDataOfHarlEvent; otherwise ZuComGetAppDataOfHarlEvent
    int nEvent;
};

class CFakeShortcutLibrary {
public:
    // Binds the fake and writes its key settings file with a legend for every key ("Legend 1"
    // to "Legend 6") and an icon path "keyicon<k>" for which no icon exists unless one is added.
    CFakeShortcutLibrary();
    ~CFakeShortcutLibrary();
    CFakeShortcutLibrary(const CFakeShortcutLibrary&) = delete;
    CFakeShortcutLibrary& operator=(const CFakeShortcutLibrary&) = delete;

    // Key k's record as the library holds it; a record of empty strings means unassigned.
    KeyAssignment& Record(int nKey);
    void Assign(int nKey, const char* pszTitle, const char* pszComment, const char* pszTarget);
    bool IsAssigned(int nKey) const;

    // ZuComGetIconHandle makes a solid 32 x 32 icon of this colour for exactly this path.
    void AddIcon(const std::string& strPath, COLORREF crColor) { m_icons[strPath] = crColor; }
    // Rewrites the key settings file; a missing value leaves the key out of its section.
    void WriteKeyFile(const std::map<int, std::string>& legends,
                      const std::map<int, std::string>& iconPaths);
    const std::string& KeyFilePath() const { return m_strKeyFile; }
    void SetKeyFilePath(const std::string& strPath) { m_strKeyFile = strPath; }

    int m_nKeyCount = 6;
    int m_nKeyCountResult = 1; // 0: the count cannot be had
    bool m_bServerAnswers = true;
    int m_nServerAsks = 0;
    BOOL m_bSetClientResult = TRUE;
    int m_nSetClientCalls = 0;
    HWND m_hClient = nullptr;
    BOOL m_bStoreResult = TRUE; // a failed store keeps the previous record
    std::vector<FakeRecordCall> m_calls;
    FakeKeyOption m_options[6];   // by key index, 0 to 5
    size_t m_nOptionStoredAt = 0; // the log's size when an option was last stored
    std::vector<std::string> m_iconRequests;

    // Number of reads of key k's record logged from position nFrom on.
    int ReadsOf(int nKey, size_t nFrom = 0) const;
    int Stores() const;
    // Position of the last store in the log; the log's size when there was none.
    size_t LastStore() const;

private:
    static int GetAppData(KeyAssignment* pRecord, int nEvent);
    static int SetAppData(KeyAssignment* pRecord, int nEvent);
    static int GetIconHandle(HICON* phIcon, CString strPath, int nLarge);
    static int GetPath(int nKind, LPSTR pszBuffer);
    static int PathAppend(LPSTR pszBuffer, LPCSTR pszName);
    static int GetServer(HWND* phWnd);
    static int GetClient(HWND* phWnd);
    static int SetClient(HWND hWnd);
    static int InitSKeyData(int nMode);
    static int GetSKeyNum(int* pnCount);
    static int GetKeyOption(int nKeyIndex, int* pbFlag, int* pnNumber);
    static int SetKeyOption(int nKeyIndex, int bFlag, int nNumber);
    static KeyAssignment* Slot(int nEvent);

    static const ZuComLibrary s_table;
    const ZuComLibrary* m_pPrevious;
    CScratchFolder m_folder;
    std::string m_strKeyFile;
    KeyAssignment m_records[6];
    std::map<std::string, COLORREF> m_icons;
};

// A solid square icon of one colour; the caller destroys it.
HICON CreateSolidIcon(COLORREF crColor, int nSize);
