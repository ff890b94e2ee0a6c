#include "BoundLibrary.h"

#include "Icons.h"

#include "../../suite/VeDerovu/ServiceProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

CBoundLibrary* g_pBound = nullptr;

void FlushProfile(const std::string& strFile) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, strFile.c_str());
}

} // namespace

CBoundLibrary::CBoundLibrary()
    : m_suite({"VeDerovu.dll", "Corvane.chm"}), m_real(m_suite / "VeDerovu.dll"), m_bound(m_real),
      m_pPrevious(ZuComBind(&m_bound)) {
    g_pBound = this;
    m_bound.pfnGetAppDataOfHarlEvent = &GetAppData;
    m_bound.pfnSetAppDataOfHarlEvent = &SetAppData;
    m_bound.pfnSetKeyOption = &SetKeyOption;
    m_bound.pfnGetIconHandle = &GetIconHandle;
    m_bound.pfnGetServer = &GetServer;
    m_bound.pfnSetClient = &SetClient;
    m_bound.pfnGetSKeyNum = &GetSKeyNum;
    // A service left running by another test would take the registration instead.
    EXPECT_TRUE(StopShortcutService());
    m_pService = std::make_unique<CMessageRecorder>(
        CVN_SERVICE_CLASS, MessageNames{VV_MESSAGE(WM_SERVICE_SET_CLIENT)});
    SetKeyCount(6);
    std::map<int, std::string> legends;
    std::map<int, std::string> iconPaths;
    for (int nKey = 1; nKey <= 6; ++nKey) {
        legends[nKey] = "Legend " + std::to_string(nKey);
        iconPaths[nKey] = "keyicon" + std::to_string(nKey);
    }
    WriteKeyFile(legends, iconPaths);
}

CBoundLibrary::~CBoundLibrary() {
    ZuComBind(m_pPrevious);
    g_pBound = nullptr;
}

void CBoundLibrary::WriteKeyFile(const std::map<int, std::string>& legends,
                                 const std::map<int, std::string>& iconPaths) {
    std::string strText;
    for (const auto& [pszSection, pValues] :
         {std::pair{"SKeySilk", &legends}, {"SKeyIcon", &iconPaths}}) {
        strText += "[" + std::string(pszSection) + "]\r\n";
        for (const auto& [nKey, strValue] : *pValues) {
            strText += "S" + std::to_string(nKey) + "=" + strValue + "\r\n";
        }
    }
    ASSERT_TRUE(WriteFileText(KeyFilePath(), strText));
}

void CBoundLibrary::AppendToKeyFile(const std::string& strSections) {
    const std::string strFile = KeyFilePath();
    ASSERT_TRUE(WriteFileText(strFile, ReadFileText(strFile) + "\r\n" + strSections));
}

void CBoundLibrary::SetKeyCount(int nCount) {
    ASSERT_TRUE(WriteFileText(m_suite / "Corvane.ini",
                              "[Suite]\r\nKeyCount=" + std::to_string(nCount) + "\r\n"));
}

std::string CBoundLibrary::MakeIcon(const std::string& strName, COLORREF crColor) const {
    std::string strPath = m_suite / strName;
    EXPECT_TRUE(WriteFileText(strPath, SolidIconFile(crColor)));
    return strPath;
}

void CBoundLibrary::Assign(int nKey, const char* pszTitle, const char* pszComment,
                           const char* pszTarget) {
    KeyAssignment record;
    record.Title = pszTitle;
    record.Comment = pszComment;
    record.Target = pszTarget;
    Store(nKey, record);
}

void CBoundLibrary::Store(int nKey, const KeyAssignment& record) {
    ASSERT_EQ(1, m_real.Store(nKey, record));
}

void CBoundLibrary::SetOption(int nKey, int bFlag, int nNumber) {
    ASSERT_EQ(1,
              m_real.pfnSetKeyOption(nKey - 1, bFlag, nNumber >= 1 && nNumber <= 99 ? nNumber : 5));
    if (nNumber < 1 || nNumber > 99) {
        const std::string strStore = m_suite.AppData().StorePath();
        std::string strSection = "Key" + std::to_string(nKey);
        WritePrivateProfileStringA(strSection.c_str(), "OptionNumber",
                                   std::to_string(nNumber).c_str(), strStore.c_str());
        FlushProfile(strStore);
    }
}

int CBoundLibrary::ReadsOf(int nKey, size_t nFrom) const {
    return static_cast<int>(std::count_if(
        m_calls.begin() + std::min(nFrom, m_calls.size()), m_calls.end(),
        [=](auto call) { return call.kind == LibraryCall::ReadRecord && call.nKey == nKey; }));
}

int CBoundLibrary::Stores() const {
    return static_cast<int>(std::count_if(m_calls.begin(), m_calls.end(), [](auto call) {
        return call.kind == LibraryCall::StoreRecord;
    }));
}

size_t CBoundLibrary::LastStore(LibraryCall::Kind kind) const {
    for (size_t i = m_calls.size(); i-- > 0;) {
        if (m_calls[i].kind == kind) {
            return i;
        }
    }
    return m_calls.size();
}

size_t CBoundLibrary::LiveIcons() const {
    return static_cast<size_t>(std::count_if(m_icons.begin(), m_icons.end(), IconExists));
}

int CBoundLibrary::GetAppData(KeyAssignment* pRecord, int nEvent) {
    g_pBound->m_calls.push_back({LibraryCall::ReadRecord, nEvent - ZUCOM_EVENT_BASE});
    return g_pBound->m_real.pfnGetAppDataOfHarlEvent(pRecord, nEvent);
}

// As the library fails while another program holds the store.
bool CBoundLibrary::StoreFails() {
    if (m_bStoresFail) {
        SetLastError(ERROR_SHARING_VIOLATION);
    }
    return m_bStoresFail;
}

int CBoundLibrary::SetAppData(KeyAssignment* pRecord, int nEvent) {
    g_pBound->m_calls.push_back({LibraryCall::StoreRecord, nEvent - ZUCOM_EVENT_BASE});
    return g_pBound->StoreFails() ? 0 : g_pBound->m_real.pfnSetAppDataOfHarlEvent(pRecord, nEvent);
}

int CBoundLibrary::SetKeyOption(int nKeyIndex, int bFlag, int nNumber) {
    g_pBound->m_calls.push_back({LibraryCall::StoreOption, nKeyIndex + 1});
    return g_pBound->StoreFails() ? 0 : g_pBound->m_real.pfnSetKeyOption(nKeyIndex, bFlag, nNumber);
}

int CBoundLibrary::GetIconHandle(HICON* phIcon, CString strPath, int nLarge) {
    g_pBound->m_iconRequests.emplace_back(strPath);
    CString strLookup =
        strPath.IsEmpty() ? CString(g_pBound->m_strIconForEmptyPath.c_str()) : strPath;
    int nResult = g_pBound->m_real.pfnGetIconHandle(phIcon, strLookup, nLarge);
    if (nResult) {
        g_pBound->m_icons.push_back(*phIcon);
    }
    return nResult;
}

int CBoundLibrary::GetServer(HWND* phWnd) {
    ++g_pBound->m_nServerAsks;
    return g_pBound->m_real.pfnGetServer(phWnd);
}

int CBoundLibrary::SetClient(HWND hWnd) {
    ++g_pBound->m_nRegistrations;
    return g_pBound->m_bRegistrationRefused ? 0 : g_pBound->m_real.pfnSetClient(hWnd);
}

int CBoundLibrary::GetSKeyNum(int* pnCount) {
    return g_pBound->m_bKeyCountFails ? 0 : g_pBound->m_real.pfnGetSKeyNum(pnCount);
}
