#include "TrayMenu.h"

#include "ServiceText.h"

#include "SystemError.h"

#include <sstream>

namespace {

// A set may be called "R&D": in a menu a single '&' would mark the next letter as its mnemonic.
std::string MenuText(const std::string& strName) {
    std::string strText;
    for (char ch : strName) {
        strText += ch == '&' ? "&&" : std::string(1, ch);
    }
    return strText;
}

} // namespace

CKeySetMenu::CKeySetMenu(const char* pszNames, const char* pszCurrent) : m_strCurrent(pszCurrent) {
    std::istringstream names(pszNames);
    for (std::string strName; std::getline(names, strName);) {
        m_names.push_back(strName);
    }
}

CMenuHolder CKeySetMenu::Create() const {
    CMenuHolder menu(CreatePopupMenu());
    if (!menu) {
        return menu;
    }
    UINT nCommand = ID_FIRST_KEY_SET;
    for (const std::string& strName : m_names) {
        UINT uCheck = strName == m_strCurrent ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(menu.get(), MF_STRING | uCheck, nCommand++, MenuText(strName).c_str());
    }
    if (m_names.empty()) {
        AppendMenuA(menu.get(), MF_STRING | MF_GRAYED, 0, ServiceText(IDS_NO_KEY_SETS).c_str());
    }
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, ID_OPEN_KEY_SETTINGS,
                ServiceText(IDS_OPEN_KEY_SETTINGS).c_str());
    return menu;
}

std::string CKeySetMenu::SetOfCommand(UINT nCommand) const {
    size_t nIndex = nCommand - ID_FIRST_KEY_SET;
    return nCommand >= ID_FIRST_KEY_SET && nIndex < m_names.size() ? m_names[nIndex]
                                                                   : std::string();
}

std::string KeySetProblem(DWORD dwError, int nLine) {
    if (dwError != ERROR_INVALID_DATA) {
        return static_cast<LPCSTR>(SystemErrorText(dwError));
    }
    return nLine > 0 ? ServiceText(IDS_KEY_SET_WRONG_LINE, std::to_string(nLine))
                     : ServiceText(IDS_KEY_SET_NO_KEYS);
}
