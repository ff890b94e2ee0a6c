#include "TargetLaunch.h"

#include "ServiceText.h"

#include "../VeDerovu/VeDerovu.h"

#include "CComInit.h"
#include "CHandle.h"
#include "CString.h"
#include "SystemError.h"

#include <shellapi.h>

#include <memory>

namespace {

struct CLaunch {
    HWND hReply;
    UINT uReply;
    CLaunchRequest request;
};

bool HasExtension(const std::string& strPath, const char* pszExtension) {
    size_t nLength = std::char_traits<char>::length(pszExtension);
    return strPath.size() > nLength &&
           lstrcmpiA(strPath.c_str() + strPath.size() - nLength, pszExtension) == 0;
}

// A program starts in its own folder unless told otherwise, so that it finds the files it keeps
// beside itself; a document or folder is left to the program the shell picks.
std::string StartFolder(const CLaunchRequest& request) {
    if (!request.strFolder.empty()) {
        return request.strFolder;
    }
    const std::string& strTarget = request.strTarget;
    size_t nSlash = strTarget.find_last_of('\\');
    bool bProgram = HasExtension(strTarget, ".exe") || HasExtension(strTarget, ".com") ||
                    HasExtension(strTarget, ".bat") || HasExtension(strTarget, ".cmd");
    if (!bProgram || nSlash == std::string::npos) {
        return std::string();
    }
    // "C:\tool.exe" starts in "C:\", not in the drive's current folder "C:".
    bool bRoot = nSlash == 0 || strTarget[nSlash - 1] == ':';
    return strTarget.substr(0, bRoot ? nSlash + 1 : nSlash);
}

// A short (8.3) path, as the module keeps a name the code page cannot hold, is started by its long
// name: the shell picks the program by the extension, which the short name cuts to three letters.
// A path that names nothing stays as it is.
std::wstring LongPath(const std::wstring& strPath) {
    DWORD nSize = GetLongPathNameW(strPath.c_str(), nullptr, 0);
    std::wstring strLong(nSize, L'\0');
    DWORD nLength = nSize ? GetLongPathNameW(strPath.c_str(), &strLong[0], nSize) : 0;
    if (nLength == 0 || nLength >= nSize) {
        return strPath;
    }
    strLong.resize(nLength);
    return strLong;
}

int TargetHealth(const std::string& strTarget, const std::string& strFolder) {
    int nHealth = ZUCOM_HEALTH_OK;
    return ZuComCheckTarget(strTarget.c_str(), strFolder.c_str(), &nHealth) ? nHealth
                                                                            : ZUCOM_HEALTH_OK;
}

// Why the target cannot be started as it stands, by the look the console's list takes too; empty
// when it can, or when it could not be looked at and the shell is left to tell. The look gives
// every system the same answer: Wine, for one, starts a program in a working folder that is not
// there.
std::string HealthProblem(const CLaunchRequest& request) {
    const std::string& strTarget = request.strTarget;
    switch (TargetHealth(strTarget, request.strFolder)) {
    case ZUCOM_HEALTH_TARGET_MISSING:
        return ServiceText(IDS_TARGET_NOT_FOUND, strTarget);
    case ZUCOM_HEALTH_DRIVE_MISSING: {
        // The look does not say whose drive is missing: the target's, or else its working
        // folder's. Either path begins with its drive letter then.
        bool bFolder = !request.strFolder.empty() &&
                       TargetHealth(strTarget, std::string()) != ZUCOM_HEALTH_DRIVE_MISSING;
        const std::string& strPath = bFolder ? request.strFolder : strTarget;
        return ServiceText(IDS_DRIVE_MISSING, strPath, strPath.substr(0, 2));
    }
    case ZUCOM_HEALTH_FOLDER_MISSING:
        return ServiceText(IDS_FOLDER_NOT_FOUND, request.strFolder);
    case ZUCOM_HEALTH_NO_ANSWER:
        return ServiceText(IDS_NO_ANSWER, strTarget);
    default:
        return std::string();
    }
}

// Starts the target; empty when it started, else why not, in the user's words.
std::string Launch(const CLaunchRequest& request) {
    std::string strProblem = HealthProblem(request);
    if (!strProblem.empty()) {
        return strProblem;
    }
    const std::string& strTarget = request.strTarget;
    std::string strFolder = StartFolder(request);
    const std::wstring strFile = LongPath(WideText(strTarget.c_str()));
    const std::wstring strParameters = WideText(request.strParameters.c_str());
    const std::wstring strDirectory = WideText(strFolder.c_str());
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = strFile.c_str();
    info.lpParameters = strParameters.empty() ? nullptr : strParameters.c_str();
    info.lpDirectory = strDirectory.empty() ? nullptr : strDirectory.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) {
        return std::string();
    }
    DWORD dwError = GetLastError();
    if (info.hInstApp == reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC) ||
        dwError == ERROR_NO_ASSOCIATION) {
        return ServiceText(IDS_NO_PROGRAM, strTarget);
    }
    if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND ||
        dwError == ERROR_BAD_NETPATH) {
        return ServiceText(IDS_TARGET_NOT_FOUND, strTarget);
    }
    return ServiceText(IDS_LAUNCH_ERROR, strTarget, std::string(SystemErrorText(dwError)));
}

DWORD WINAPI LaunchThread(void* pParameter) {
    std::unique_ptr<CLaunch> pLaunch(static_cast<CLaunch*>(pParameter));
    // Shell extensions and shortcut files need COM on the thread that asks the shell.
    std::string strReason;
    {
        CComInit com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        strReason = Launch(pLaunch->request);
    }
    if (!strReason.empty()) {
        const CLaunchRequest& request = pLaunch->request;
        auto pNotice = std::make_unique<CLaunchNotice>(CLaunchNotice{
            ServiceText(IDS_LAUNCH_FAILED, request.strLegend, request.strName), strReason});
        if (PostMessageA(pLaunch->hReply, pLaunch->uReply, 0,
                         reinterpret_cast<LPARAM>(pNotice.get()))) {
            pNotice.release();
        }
    }
    return 0;
}

} // namespace

bool StartLaunch(HWND hReply, UINT uReply, const CLaunchRequest& request) {
    auto pLaunch = std::make_unique<CLaunch>(CLaunch{hReply, uReply, request});
    CHandle thread(CreateThread(nullptr, 0, LaunchThread, pLaunch.get(), 0, nullptr));
    if (!thread.IsValid()) {
        return false;
    }
    pLaunch.release();
    return true;
}
