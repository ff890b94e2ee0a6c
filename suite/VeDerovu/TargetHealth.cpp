#include "TargetHealth.h"

#include "VeDerovu.h"

#include "CHandle.h"

#include <memory>
#include <string>

namespace {

constexpr DWORD ANSWER_MS = 1000;

// What the look needs and finds; shared by the caller and the thread, so that a thread that
// outlives a caller who stopped waiting still has it.
struct CHealthLook {
    std::string strTarget;
    std::string strFolder;
    int nHealth = ZUCOM_HEALTH_OK;
};

bool IsDriveLetterPath(const std::string& strPath) {
    return strPath.size() >= 2 && strPath[1] == ':';
}

// Why the path names nothing there: the drive is not there (or holds no disc), or else the entry.
int MissingHealth(const std::string& strPath) {
    DWORD dwError = GetLastError();
    if (IsDriveLetterPath(strPath)) {
        std::string strRoot = strPath.substr(0, 2) + "\\";
        if (GetDriveTypeA(strRoot.c_str()) == DRIVE_NO_ROOT_DIR || dwError == ERROR_NOT_READY) {
            return ZUCOM_HEALTH_DRIVE_MISSING;
        }
    }
    return ZUCOM_HEALTH_TARGET_MISSING;
}

int LookAt(const CHealthLook& look) {
    if (GetFileAttributesA(look.strTarget.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return MissingHealth(look.strTarget);
    }
    if (look.strFolder.empty()) {
        return ZUCOM_HEALTH_OK;
    }
    DWORD dwFolder = GetFileAttributesA(look.strFolder.c_str());
    if (dwFolder == INVALID_FILE_ATTRIBUTES || !(dwFolder & FILE_ATTRIBUTE_DIRECTORY)) {
        return MissingHealth(look.strFolder) == ZUCOM_HEALTH_DRIVE_MISSING
                   ? ZUCOM_HEALTH_DRIVE_MISSING
                   : ZUCOM_HEALTH_FOLDER_MISSING;
    }
    return ZUCOM_HEALTH_OK;
}

struct CLookThread {
    std::shared_ptr<CHealthLook> pLook;
    HMODULE hLibrary; // held for the thread, however long a server takes to answer
};

DWORD WINAPI LookThread(void* pParameter) {
    HMODULE hLibrary = nullptr;
    {
        std::unique_ptr<CLookThread> pThread(static_cast<CLookThread*>(pParameter));
        pThread->pLook->nHealth = LookAt(*pThread->pLook);
        hLibrary = pThread->hLibrary;
    }
    if (hLibrary) {
        FreeLibraryAndExitThread(hLibrary, 0);
    }
    return 0;
}

} // namespace

bool CheckTargetHealth(LPCSTR pszTarget, LPCSTR pszFolder, int* pnHealth) {
    if (!pszTarget || !pszFolder || !pnHealth) {
        return false;
    }
    auto pLook = std::make_shared<CHealthLook>(CHealthLook{pszTarget, pszFolder});
    auto pThread = std::make_unique<CLookThread>(CLookThread{pLook, nullptr});
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCSTR>(&CheckTargetHealth), &pThread->hLibrary);
    HMODULE hLibrary = pThread->hLibrary;
    CHandle thread(CreateThread(nullptr, 0, LookThread, pThread.get(), 0, nullptr));
    if (!thread.IsValid()) {
        if (hLibrary) {
            FreeLibrary(hLibrary);
        }
        return false;
    }
    pThread.release();
    // The result is read only once the thread has ended, and so written it.
    *pnHealth = WaitForSingleObject(thread, ANSWER_MS) == WAIT_OBJECT_0 ? pLook->nHealth
                                                                        : ZUCOM_HEALTH_NO_ANSWER;
    return true;
}
