#include "SuiteSettings.h"

#include "SuiteFiles.h"
#include "SuiteSettingsText.h"

namespace {

constexpr DWORD MAX_SETTINGS_SIZE = 1024 * 1024;

// The file is edited by hand, so what cannot be read is passed over and the rest still counts:
// a stray line must not cost the machine its keys.
CIniText ReadSuiteSettings() {
    CIniText ini;
    char szPath[MAX_PATH];
    std::string strText;
    CHoldWait wait;
    if (GetProgramPath("Corvane.ini", szPath) &&
        ReadTextFile(szPath, strText, MAX_SETTINGS_SIZE, wait) == FileRead::Ok) {
        ini.Parse(strText);
    }
    return ini;
}

} // namespace

int ReadKeyCount() {
    return KeyCountIn(ReadSuiteSettings());
}

CKeyTable ReadDefaultKeys() {
    return DefaultKeysIn(ReadSuiteSettings());
}
