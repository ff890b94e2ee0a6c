// The staged shortcut-service library, loaded by path as the key panel loads it, its entry points
// in the module's own table.
#pragma once

#include "../../base/ZuCom.h"

#include <string>

class CSuiteLibrary : public ZuComLibrary {
public:
    // The staged library unless another copy is named; a library that cannot be loaded or lacks
    // an entry point fails the test.
    explicit CSuiteLibrary(const std::string& strPath = "");
    ~CSuiteLibrary();
    CSuiteLibrary(const CSuiteLibrary&) = delete;
    CSuiteLibrary& operator=(const CSuiteLibrary&) = delete;

    HMODULE m_hModule;
};

// Closes the running shortcut service, if any, and waits for its process to end; false when one
// still runs afterwards.
bool StopShortcutService();
