#include "FakeShortcutLibrary.h"

#include "../common/Process.h"

#include <cstring>

namespace {

CFakeShortcutLibrary* g_pFake = nullptr;

bool HasAssignment(const KeyAssignment& record) {
    for (const CString* pSlot :
         {&record.Title, &record.Comment, &record.Target, &record.WorkingFolder, &record.Parameters,
          &record.IconSource, &record.Reserved1, &record.Reserved2}) {
        if (!pSlot->IsEmpty()) {
            return true;
        }
    }
    return false;
}

void WriteSection(const char* pszSection, const std::map<int, std::string>& values,
                  const std::string& strFile) {
    for (const auto& [nKey, strValue] : values) {
        std::string strName = "S" + std::to_string(nKey);
        WritePrivateProfileStringA(pszSection, strName.c_str(), strValue.c_str(), strFile.c_str());
    }
}

} // namespace

const ZuComLibrary CFakeShortcutLibrary::s_table = {
    &GetAppData, &SetAppData, &GetIconHandle, &GetPath,    &PathAppend,   &GetServer,
    &GetClient,  &SetClient,  &InitSKeyData,  &GetSKeyNum, &GetKeyOption, &SetKeyOption,
};

CFakeShortcutLibrary::CFakeShortcutLibrary()
    : m_pPrevious(ZuComBind(&s_table)), m_strKeyFile(m_folder / "CvnSKey.ini") {
    g_pFake = this;
    std::map<int, std::string> legends;
    std::map<int, std::string> iconPaths;
    for (int nKey = 1; nKey <= 6; ++nKey) {
        legends[nKey] = "Legend " + std::to_string(nKey);
        iconPaths[nKey] = "keyicon" + std::to_string(nKey);
    }
    WriteKeyFile(legends, iconPaths);
}

CFakeShortcutLibrary::~CFakeShortcutLibrary() {
    ZuComBind(m_pPrevious);
    g_pFake = nullptr;
}

void CFakeShortcutLibrary::WriteKeyFile(const std::map<int, std::string>& legends,
                                        const std::map<int, std::string>& iconPaths) {
    DeleteFileA(m_strKeyFile.c_str());
    m_folder.WriteFile("CvnSKey.ini", "; key settings of the panel tests\r\n");
    WriteSection("SKeySilk", legends, m_strKeyFile);
    WriteSection("SKeyIcon", iconPaths, m_strKeyFile);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_strKeyFile.c_str()); // flush
}

KeyAssignment& CFakeShortcutLibrary::Record(int nKey) {
    return m_records[nKey - 1];
}

void CFakeShortcutLibrary::Assign(int nKey, const char* pszTitle, const char* pszComment,
                                  const char* pszTarget) {
    Record(nKey) = KeyAssignment();
    Record(nKey).Title = pszTitle;
    Record(nKey).Comment = pszComment;
    Record(nKey).Target = pszTarget;
}

bool CFakeShortcutLibrary::IsAssigned(int nKey) const {
    return HasAssignment(m_records[nKey - 1]);
}

int CFakeShortcutLibrary::ReadsOf(int nKey, size_t nFrom) const {
    int nReads = 0;
    for (size_t i = nFrom; i < m_calls.size(); ++i) {
        nReads += !m_calls[i].bStore && m_calls[i].nEvent == nKey + ZUCOM_EVENT_BASE;
    }
    return nReads;
}

int CFakeShortcutLibrary::Stores() const {
    int nStores = 0;
    for (const FakeRecordCall& call : m_calls) {
        nStores += call.bStore;
    }
    return nStores;
}

size_t CFakeShortcutLibrary::LastStore() const {
    for (size_t i = m_calls.size(); i-- > 0;) {
        if (m_calls[i].bStore) {
            return i;
        }
    }
    return m_calls.size();
}

KeyAssignment* CFakeShortcutLibrary::Slot(int nEvent) {
    int nKey = nEvent - ZUCOM_EVENT_BASE;
    return (nKey >= 1 && nKey <= 6) ? &g_pFake->m_records[nKey - 1] : nullptr;
}

int CFakeShortcutLibrary::GetAppData(KeyAssignment* pRecord, int nEvent) {
    g_pFake->m_calls.push_back({false, nEvent});
    const KeyAssignment* pSlot = Slot(nEvent);
    if (!pSlot || !HasAssignment(*pSlot)) {
        return 0;
    }
    *pRecord = *pSlot; // slot by slot, into the caller's strings
    return 1;
}

int CFakeShortcutLibrary::SetAppData(KeyAssignment* pRecord, int nEvent) {
    g_pFake->m_calls.push_back({true, nEvent});
    KeyAssignment* pSlot = Slot(nEvent);
    if (!pSlot || !g_pFake->m_bStoreResult) {
        return 0;
    }
    *pSlot = *pRecord;
    return 1;
}

int CFakeShortcutLibrary::GetIconHandle(HICON* phIcon, CString strPath, int) {
    g_pFake->m_iconRequests.emplace_back(strPath);
    auto it = g_pFake->m_icons.find(std::string(strPath));
    if (it == g_pFake->m_icons.end()) {
        return 0;
    }
    *phIcon = CreateSolidIcon(it->second, 32);
    return *phIcon != nullptr;
}

int CFakeShortcutLibrary::GetPath(int nKind, LPSTR pszBuffer) {
    std::string strPath = nKind == ZUCOM_PATH_KEY_SETTINGS ? g_pFake->m_strKeyFile
                          : nKind == ZUCOM_PATH_HELP_FILE  ? StagedPath("Corvane.chm")
                                                           : g_pFake->m_folder.Path();
    lstrcpynA(pszBuffer, strPath.c_str(), MAX_PATH);
    return 1;
}

int CFakeShortcutLibrary::PathAppend(LPSTR pszBuffer, LPCSTR pszName) {
    size_t nLength = std::strlen(pszBuffer);
    if (nLength + 1 + std::strlen(pszName) >= MAX_PATH) {
        return 0;
    }
    if (nLength && pszBuffer[nLength - 1] != '\\') {
        pszBuffer[nLength++] = '\\';
    }
    std::strcpy(pszBuffer + nLength, pszName);
    return 1;
}

int CFakeShortcutLibrary::GetServer(HWND* phWnd) {
    ++g_pFake->m_nServerAsks;
    *phWnd = g_pFake->m_bServerAnswers ? GetDesktopWindow() : nullptr;
    return g_pFake->m_bServerAnswers;
}

int CFakeShortcutLibrary::GetClient(HWND* phWnd) {
    *phWnd = g_pFake->m_hClient;
    return 1;
}

int CFakeShortcutLibrary::SetClient(HWND hWnd) {
    ++g_pFake->m_nSetClientCalls;
    if (g_pFake->m_bSetClientResult) {
        g_pFake->m_hClient = hWnd;
    }
    return g_pFake->m_bSetClientResult;
}

int CFakeShortcutLibrary::InitSKeyData(int) {
    return 1;
}

int CFakeShortcutLibrary::GetSKeyNum(int* pnCount) {
    if (g_pFake->m_nKeyCountResult) {
        *pnCount = g_pFake->m_nKeyCount;
    }
    return g_pFake->m_nKeyCountResult;
}

int CFakeShortcutLibrary::GetKeyOption(int nKeyIndex, int* pbFlag, int* pnNumber) {
    *pbFlag = g_pFake->m_options[nKeyIndex].bFlag;
    *pnNumber = g_pFake->m_options[nKeyIndex].nNumber;
    return 1;
}

int CFakeShortcutLibrary::SetKeyOption(int nKeyIndex, int bFlag, int nNumber) {
    g_pFake->m_options[nKeyIndex] = {bFlag, nNumber};
    g_pFake->m_nOptionStoredAt = g_pFake->m_calls.size();
    return 1;
}

HICON CreateSolidIcon(COLORREF crColor, int nSize) {
    std::vector<DWORD> pixels(static_cast<size_t>(nSize) * nSize,
                              0xFF000000 | (GetRValue(crColor) << 16) | (GetGValue(crColor) << 8) |
                                  GetBValue(crColor));
    HBITMAP hColor = CreateBitmap(nSize, nSize, 1, 32, pixels.data());
    std::vector<BYTE> mask(static_cast<size_t>(nSize) * nSize / 8, 0); // all opaque
    HBITMAP hMask = CreateBitmap(nSize, nSize, 1, 1, mask.data());
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hColor);
    DeleteObject(hMask);
    return hIcon;
}
