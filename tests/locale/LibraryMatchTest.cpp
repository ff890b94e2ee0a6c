// The Japanese texts of the suite against the English ones, resource by resource: the module
// asks the locale library for dialogs, controls, strings and icons by number and formats strings
// with fixed arguments, and the service, the console program and the installer's actions choose
// their own string tables by the user's language. A resource that one language lacks, a control
// of another kind or style, or a format that takes other arguments breaks only that language.
#include "LocaleLibrary.h"

#include "../common/DialogGeometry.h"
#include "../common/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL);
constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

HMODULE Staged(const char* pszName) {
    return LoadLibraryExA(StagedPath(pszName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

// The numbers of a module's resources of one type.
std::set<UINT> ResourceIds(HMODULE hModule, LPCSTR pszType) {
    std::set<UINT> ids;
    EnumResourceNamesA(
        hModule, pszType,
        [](HMODULE, LPCSTR, LPSTR pszName, LONG_PTR pIds) {
            reinterpret_cast<std::set<UINT>*>(pIds)->insert(LOWORD(pszName));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// Every string of a module's string table in one language, by number.
std::map<UINT, std::wstring> Strings(HMODULE hModule, WORD nLanguage) {
    std::map<UINT, std::wstring> strings;
    for (UINT nBlock : ResourceIds(hModule, RT_STRING)) {
        const std::string block =
            ResourceBytes(hModule, MAKEINTRESOURCEA(nBlock), RT_STRING, nLanguage);
        auto p = reinterpret_cast<const WCHAR*>(block.data());
        for (UINT i = 0; !block.empty() && i < 16; p += 1 + *p, ++i) {
            if (*p) {
                strings[(nBlock - 1) * 16 + i] = std::wstring(p + 1, *p);
            }
        }
    }
    return strings;
}

// The conversions of a format: printf's (%s, %d, %%) and FormatMessage's (%1, %2).
const std::wregex kSpecifier(L"%([0-9]+|[-+ #0]*[0-9]*(\\.[0-9]+)?[hlI]*[a-zA-Z%])");

std::vector<std::wstring> Specifiers(const std::wstring& strFormat) {
    return {std::wsregex_token_iterator(strFormat.begin(), strFormat.end(), kSpecifier),
            std::wsregex_token_iterator()};
}

// Text that no language changes: the product's name and conversions with punctuation between.
bool IsLanguageFree(const std::wstring& strText) {
    const std::wstring strRest = std::regex_replace(std::regex_replace(strText, kSpecifier, L""),
                                                    std::wregex(L"Corvane"), L"");
    return std::none_of(strRest.begin(), strRest.end(), [](wchar_t c) { return iswalpha(c); });
}

TEST(LibrariesMatch, EveryStringHasATranslationThatTakesTheSameArguments) {
    // The locale libraries are two files, each in its language; the programs hold both tables.
    const struct {
        const char *pszEnglish, *pszJapanese;
        WORD nEnglish;
    } tables[] = {
        {"RuRoredo.DLL", "RuRoredoJPN.DLL", kEnglishUs},
        {"VuViravuz.exe", "VuViravuz.exe", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)},
        {"VeRiro.exe", "VeRiro.exe", kEnglish},
        {"CvnKeys.exe", "CvnKeys.exe", kEnglish},
        {"..\\package\\CvnSetup.dll", "..\\package\\CvnSetup.dll", kEnglish},
    };
    for (const auto& table : tables) {
        SCOPED_TRACE(table.pszJapanese);
        const auto english = Strings(Staged(table.pszEnglish), table.nEnglish);
        const auto japanese = Strings(Staged(table.pszJapanese), kJapanese);
        ASSERT_FALSE(english.empty());
        for (const auto& [nId, strText] : english) {
            auto translated = japanese.find(nId);
            ASSERT_NE(translated, japanese.end()) << "string " << nId << " has no translation";
            EXPECT_EQ(Specifiers(strText), Specifiers(translated->second)) << "string " << nId;
            EXPECT_TRUE(strText != translated->second || IsLanguageFree(strText))
                << "string " << nId << " is left in English";
        }
        EXPECT_EQ(english.size(), japanese.size()) << "strings only in Japanese";
    }
}

// A dialog's controls as the dialog manager creates them, in order: number, class and styles.
std::vector<std::string> Controls(HMODULE hLibrary, UINT nDialog) {
    std::vector<std::string> controls;
    HWND hDialog = CreateQuietDialog(hLibrary, nDialog);
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char szControl[128] = "";
        int nClass = wsprintfA(szControl, "%d ", GetDlgCtrlID(hChild));
        GetClassNameA(hChild, szControl + nClass, 64);
        wsprintfA(szControl + lstrlenA(szControl), " %08lx %08lx",
                  GetWindowLongA(hChild, GWL_STYLE), GetWindowLongA(hChild, GWL_EXSTYLE));
        controls.push_back(szControl);
    }
    DestroyWindow(hDialog);
    return controls;
}

TEST(LibrariesMatch, BothLibrariesHaveTheSameDialogsControlsAndIcons) {
    HMODULE hEnglish = LoadLibraryA(StagedPath("RuRoredo.DLL").c_str());
    HMODULE hJapanese = LoadLibraryA(StagedPath("RuRoredoJPN.DLL").c_str());
    ASSERT_TRUE(hEnglish && hJapanese);
    for (LPCSTR pszType : {RT_DIALOG, RT_GROUP_ICON, RT_ICON}) {
        EXPECT_EQ(ResourceIds(hEnglish, pszType), ResourceIds(hJapanese, pszType))
            << "resource type " << LOWORD(pszType);
    }
    for (UINT nDialog : ResourceIds(hEnglish, RT_DIALOG)) {
        const std::vector<std::string> controls = Controls(hJapanese, nDialog);
        EXPECT_FALSE(controls.empty()) << "dialog " << nDialog;
        EXPECT_EQ(Controls(hEnglish, nDialog), controls) << "dialog " << nDialog;
    }
}

} // namespace
