// The staged shortcut-service library, loaded by path as the key panel loads it, its entry points
// in the module's own table; private copies of the staged suite.
#pragma once

#include "ScratchFolder.h"

#include "../../base/ZuCom.h"

#include <string>
#include <utility>
#include <vector>

class CSuiteLibrary : public ZuComLibrary {
public:
    // The staged library unless another copy is named; a library that cannot be loaded or lacks
    // an entry point fails the test.
    explicit CSuiteLibrary(const std::string& strPath = "");
    ~CSuiteLibrary();
    CSuiteLibrary(const CSuiteLibrary&) = delete;
    CSuiteLibrary& operator=(const CSuiteLibrary&) = delete;

    // Key k's record, with the call's result (whether the key is assigned) in *pnResult.
    KeyAssignment Read(int nKey, int* pnResult = nullptr) const;
    bool IsAssigned(int nKey) const;
    int Store(int nKey, KeyAssignment record) const;
    // The option of the key with this index (its number minus 1) as (flag, number); (-1, -1)
    // when the call refuses.
    std::pair<int, int> Option(int nIndex) const;
    // The export file of every key, as the library writes it.
    std::string Exported() const;

    HMODULE m_hModule;
};

// A private copy of some of the staged suite's files in a scratch folder, and a key store of its
// own (APPDATA at a scratch folder for the object's life, inherited by programs started meanwhile),
// so that a test can take files away and change settings and keys without touching anybody
// else's. A file that cannot be copied fails the test.
class CScratchSuite {
public:
    explicit CScratchSuite(const std::vector<std::string>& files);

    const std::string& Path() const { return m_folder.Path(); }
    std::string operator/(const std::string& strName) const { return m_folder / strName; }
    const CScratchAppData& AppData() const { return m_appData; }

private:
    CScratchAppData m_appData;
    CScratchFolder m_folder;
};

// Closes the running shortcut service, if any, and waits for its process to end; false when one
// still runs afterwards.
bool StopShortcutService();
