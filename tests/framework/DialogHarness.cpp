#include "DialogHarness.h"

#include "../common/DialogGeometry.h"

namespace {

class CTestApp : public CWinApp {
public:
    Boxes m_boxes;

    int DoMessageBox(LPCSTR pszPrompt, UINT nType, UINT nIDPrompt) override {
        m_boxes.emplace_back(nType, nIDPrompt);
        return CWinApp::DoMessageBox(pszPrompt, nType, nIDPrompt);
    }
} g_app;

} // namespace

Boxes& ShownBoxes() {
    return g_app.m_boxes;
}

void TypeKeys(HWND hEdit, const std::string& strKeys) {
    for (char ch : strKeys) {
        SendMessageA(hEdit, WM_CHAR, static_cast<WPARAM>(ch), 1);
    }
}

std::string Selection(HWND hEdit) {
    DWORD nStart = 0, nEnd = 0;
    SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                 reinterpret_cast<LPARAM>(&nEnd));
    return std::to_string(nStart) + "-" + std::to_string(nEnd);
}

BEGIN_MESSAGE_MAP(CTestTree, CTreeCtrl)
ON_NOTIFY_REFLECT(TVN_SELCHANGING, OnSelChanging)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
ON_NOTIFY_RANGE(TVN_SELCHANGING, IDC_NAME, IDC_TREE2, OnSelChanging)
ON_NOTIFY(TVN_SELCHANGED, IDC_TREE2, OnSelChanged)
ON_EN_UPDATE(IDC_NAME, OnNameUpdate)
ON_EN_CHANGE(IDC_NAME, OnNameChange)
ON_WM_HELPINFO()
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL CTestDialog::Create() {
    if (!AfxInitCommonControls()) {
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = CreateQuietDialog(GetModuleHandleA(nullptr), m_nIDTemplate);
    AfxUnhookWindowCreate();
    g_app.m_pMainWnd = this;
    return hWnd != nullptr;
}

CTestDialog::~CTestDialog() {
    g_app.m_pMainWnd = nullptr;
    DestroyWindow();
}

BOOL CTestDialog::OnInitDialog() {
    CChangeGuard guard(m_bFilling);
    return CDialog::OnInitDialog();
}

void CTestDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_NUMBER, m_nNumber);
    DDV_MinMaxInt(pDX, m_nNumber, m_nMin, m_nMax);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, 10);
    m_tree.m_pLog = &m_log;
    DDX_Control(pDX, IDC_TREE2, m_tree);
}

CMessageBoxAnswerer::CMessageBoxAnswerer()
    : m_answer(AnswerMessageBox(&m_strText, IDOK, &m_hOwner)), m_script({[this] {
          if (m_answer()) {
              HWND hDialog = g_app.m_pMainWnd ? g_app.m_pMainWnd->m_hWnd : nullptr;
              m_texts.push_back(
                  (hDialog && m_hOwner == hDialog ? "" : "(not owned by the dialog) ") + m_strText);
          }
          return false; // answers every box for as long as it lives
      }}) {}
