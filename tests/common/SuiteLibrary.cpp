#include "SuiteLibrary.h"

#include "Process.h"

#include "../../suite/VeDerovu/ServiceProtocol.h"

#include <gtest/gtest.h>

CSuiteLibrary::CSuiteLibrary(const std::string& strPath)
    : ZuComLibrary(), m_hModule(LoadLibraryA(strPath.empty() ? StagedPath("VeDerovu.dll").c_str()
                                                             : strPath.c_str())) {
    if (!m_hModule) {
        ADD_FAILURE() << "cannot load the library, error " << GetLastError();
        return;
    }
    EXPECT_TRUE(ZuComResolve(m_hModule, *this)) << "an entry point is missing";
}

CSuiteLibrary::~CSuiteLibrary() {
    if (m_hModule) {
        FreeLibrary(m_hModule);
    }
}

KeyAssignment CSuiteLibrary::Read(int nKey, int* pnResult) const {
    KeyAssignment record;
    int nResult = pfnGetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey);
    if (pnResult) {
        *pnResult = nResult;
    }
    return record;
}

bool CSuiteLibrary::IsAssigned(int nKey) const {
    int nResult = 0;
    Read(nKey, &nResult);
    return nResult != 0;
}

int CSuiteLibrary::Store(int nKey, KeyAssignment record) const {
    return pfnSetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey);
}

std::pair<int, int> CSuiteLibrary::Option(int nIndex) const {
    int bFlag = -1;
    int nNumber = -1;
    return pfnGetKeyOption(nIndex, &bFlag, &nNumber) ? std::make_pair(bFlag, nNumber)
                                                     : std::make_pair(-1, -1);
}

std::string CSuiteLibrary::Exported() const {
    CString strFile;
    EXPECT_EQ(1, pfnExportKeys(&strFile));
    return std::string(strFile, static_cast<size_t>(strFile.GetLength()));
}

CScratchSuite::CScratchSuite(const std::vector<std::string>& files) {
    for (const std::string& strName : files) {
        EXPECT_TRUE(CopyFileA(StagedPath(strName).c_str(), (m_folder / strName).c_str(), FALSE))
            << strName;
    }
}

bool StopShortcutService() {
    HWND hService = FindWindowA(CVN_SERVICE_CLASS, nullptr);
    if (!hService) {
        return true;
    }
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hService, &nProcessId);
    CHandle process(OpenProcess(SYNCHRONIZE, FALSE, nProcessId));
    PostMessageA(hService, WM_CLOSE, 0, 0);
    if (process.IsValid()) {
        // The service may be telling this thread's windows something (a fake taskbar) as it goes.
        WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
    }
    return FindWindowA(CVN_SERVICE_CLASS, nullptr) == nullptr;
}
