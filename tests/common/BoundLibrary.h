// The module bound to the real shortcut-service library, for tests that run the module's windows
// in their own process: a scratch copy of the staged library with a Corvane.ini and a key
// settings file of its own, a key store of its own, and a window that stands in for the shortcut
// service's. The module's table holds the library's own entries, except the few a test must watch
// or break: the record and option calls and the icon requests pass through a log, and the key
// count, the stores and the service's registration can be made to fail.
#pragma once

#include "MessageRecorder.h"
#include "ScratchFolder.h"
#include "SuiteLibrary.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct LibraryCall {
    enum Kind { ReadRecord, StoreRecord, StoreOption } kind;
    int nKey;
};

class CBoundLibrary {
public:
    // Six keys, none assigned; a legend for every key ("Legend 1" to "Legend 6") and an icon path
    // "keyicon<k>" from which no icon can be made.
    CBoundLibrary();
    ~CBoundLibrary();
    CBoundLibrary(const CBoundLibrary&) = delete;
    CBoundLibrary& operator=(const CBoundLibrary&) = delete;

    // A file of the suite's program folder.
    std::string operator/(const std::string& strName) const { return m_suite / strName; }
    std::string KeyFilePath() const { return m_suite / "CvnSKey.ini"; }
    // Rewrites the key settings file; a missing value leaves the key out of its section.
    void WriteKeyFile(const std::map<int, std::string>& legends,
                      const std::map<int, std::string>& iconPaths);
    // Adds sections (INI text) at the end of the key settings file.
    void AppendToKeyFile(const std::string& strSections);
    void SetKeyCount(int nCount);
    // A solid icon file of the colour in the program folder; its path.
    std::string MakeIcon(const std::string& strName, COLORREF crColor) const;

    // The keys as the library holds them, read and written through it (not logged).
    void Assign(int nKey, const char* pszTitle, const char* pszComment, const char* pszTarget);
    void Store(int nKey, const KeyAssignment& record);
    KeyAssignment Record(int nKey) const { return m_real.Read(nKey); }
    bool IsAssigned(int nKey) const { return m_real.IsAssigned(nKey); }
    // Key k's option as (flag, number). A number the library refuses (outside 1 to 99) goes into
    // the store as a hand edit would.
    void SetOption(int nKey, int bFlag, int nNumber);
    std::pair<int, int> Option(int nKey) const { return m_real.Option(nKey - 1); }

    // The service: a window of the service's class that takes the key panel's registration.
    const CMessageRecorder* Service() const { return m_pService.get(); }
    void StopService() { m_pService.reset(); }

    // What the module asked of the library, in order.
    std::vector<LibraryCall> m_calls;
    std::vector<std::string> m_iconRequests;
    std::vector<HICON> m_icons; // what the library made for the module, which the module owns
    // How many of those have not been destroyed.
    size_t LiveIcons() const;
    int m_nServerAsks = 0;
    int m_nRegistrations = 0;
    // Reads of key k's record logged from position nFrom on.
    int ReadsOf(int nKey, size_t nFrom = 0) const;
    int Stores() const;
    // Position in the log of the last store of a record, or of an option; the log's size when
    // there was none.
    size_t LastStore(LibraryCall::Kind kind = LibraryCall::StoreRecord) const;

    // Calls made to fail.
    bool m_bKeyCountFails = false;
    bool m_bStoresFail = false; // records and options stay as they were
    bool m_bRegistrationRefused = false;
    // An icon file that stands for what a library might make of an empty path (the real one
    // makes nothing of it).
    std::string m_strIconForEmptyPath;

private:
    bool StoreFails();
    static int GetAppData(KeyAssignment* pRecord, int nEvent);
    static int SetAppData(KeyAssignment* pRecord, int nEvent);
    static int SetKeyOption(int nKeyIndex, int bFlag, int nNumber);
    static int GetIconHandle(HICON* phIcon, CString strPath, int nLarge);
    static int GetServer(HWND* phWnd);
    static int SetClient(HWND hWnd);
    static int GetSKeyNum(int* pnCount);

    CScratchSuite m_suite;
    CSuiteLibrary m_real;
    ZuComLibrary m_bound;
    const ZuComLibrary* m_pPrevious;
    std::unique_ptr<CMessageRecorder> m_pService;
};
