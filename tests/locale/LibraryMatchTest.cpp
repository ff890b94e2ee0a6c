// The Japanese texts of the suite against the English ones, resource by resource: the module
// asks the locale library for dialogs, controls, strings and icons by number and formats strings
// with fixed arguments, and the service, the console program and the installer's actions choose
// their own string tables by the user's language. A resource that one language lacks, a control
// of another kind or style, or a format that takes other arguments breaks only that language.
#include "../common/DialogGeometry.h"
#include "../common/Process.h"
#include "../common/ShownDialogs.h"

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
constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
// The resource types, spelt out: the program is built for ANSI.
const LPCWSTR kStrings = MAKEINTRESOURCEW(6);
const LPCWSTR kDialogs = MAKEINTRESOURCEW(5);

// A staged file loaded for the test program's life.
HMODULE Staged(const std::string& strName) {
    static std::map<std::string, HMODULE> s_modules;
    HMODULE& hModule = s_modules[strName];
    if (!hModule) {
        hModule = LoadLibraryExA(StagedPath(strName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    return hModule;
}

// The numbers of a module's resources of one type.
std::set<UINT> ResourceIds(HMODULE hModule, LPCWSTR pszType) {
    std::set<UINT> ids;
    EnumResourceNamesW(
        hModule, pszType,
        [](HMODULE, LPCWSTR, LPWSTR pszName, LONG_PTR pIds) {
            if (IS_INTRESOURCE(pszName)) {
                reinterpret_cast<std::set<UINT>*>(pIds)->insert(LOWORD(pszName));
            }
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// Every string of a module's string table in one language, by number.
std::map<UINT, std::wstring> Strings(HMODULE hModule, WORD nLanguage) {
    std::map<UINT, std::wstring> strings;
    for (UINT nBlock : ResourceIds(hModule, kStrings)) {
        HRSRC hFound = FindResourceExW(hModule, kStrings, MAKEINTRESOURCEW(nBlock), nLanguage);
        HGLOBAL hData = hFound ? LoadResource(hModule, hFound) : nullptr;
        auto p = static_cast<const WCHAR*>(hData ? LockResource(hData) : nullptr);
        for (UINT i = 0; p && i < 16; p += 1 + *p, ++i) {
            if (*p) {
                strings[(nBlock - 1) * 16 + i] = std::wstring(p + 1, *p);
            }
        }
    }
    return strings;
}

// The conversions of a format in order: printf's (%s, %d, %%) and FormatMessage's (%1, %2).
const std::wregex& SpecifierPattern() {
    static const std::wregex pattern(L"%([0-9]+|[-+ #0]*[0-9]*(\\.[0-9]+)?[hlI]*[a-zA-Z%])");
    return pattern;
}

std::vector<std::wstring> Specifiers(const std::wstring& strFormat) {
    std::vector<std::wstring> found;
    for (std::wsregex_iterator it(strFormat.begin(), strFormat.end(), SpecifierPattern()), end;
         it != end; ++it) {
        found.push_back(it->str());
    }
    return found;
}

// Text that stays as it is in every language: the product's name, and conversions with
// punctuation between them.
bool IsLanguageFree(const std::wstring& strText) {
    std::wstring strRest = std::regex_replace(strText, SpecifierPattern(), L"");
    strRest = std::regex_replace(strRest, std::wregex(L"Corvane"), L"");
    return std::none_of(strRest.begin(), strRest.end(), [](wchar_t c) { return iswalpha(c); });
}

// For the test's report, in UTF-8.
std::string Narrow(const std::wstring& strText) {
    std::string strOut(strText.size() * 3, '\0');
    strOut.resize(WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                                      strOut.data(), static_cast<int>(strOut.size()), nullptr,
                                      nullptr));
    return strOut;
}

struct StringTables {
    const char* pszFile;
    WORD nEnglish, nJapanese;
};

TEST(LibrariesMatch, EveryStringHasATranslationThatTakesTheSameArguments) {
    const StringTables tables[] = {
        {"RuRoredo.DLL", kEnglishUs, kEnglishUs},
        {"VuViravuz.exe", kNeutral, kJapanese},
        {"VeRiro.exe", kEnglish, kJapanese},
        {"CvnKeys.exe", kEnglish, kJapanese},
        {"..\\package\\CvnSetup.dll", kEnglish, kJapanese},
    };
    for (const StringTables& table : tables) {
        SCOPED_TRACE(table.pszFile);
        HMODULE hEnglish = Staged(table.pszFile);
        // The locale libraries are two files, each in its own language.
        HMODULE hJapanese =
            table.nEnglish == table.nJapanese ? Staged("RuRoredoJPN.DLL") : hEnglish;
        ASSERT_TRUE(hEnglish && hJapanese);
        const std::map<UINT, std::wstring> english = Strings(hEnglish, table.nEnglish);
        const std::map<UINT, std::wstring> japanese =
            Strings(hJapanese, hJapanese == hEnglish ? table.nJapanese : kJapanese);
        ASSERT_FALSE(english.empty());
        for (const auto& [nId, strText] : english) {
            auto translated = japanese.find(nId);
            ASSERT_NE(translated, japanese.end()) << "string " << nId << " has no translation";
            EXPECT_EQ(Specifiers(strText), Specifiers(translated->second))
                << "string " << nId << ": " << Narrow(translated->second);
            EXPECT_TRUE(strText != translated->second || IsLanguageFree(strText))
                << "string " << nId << " is left in English: " << Narrow(strText);
        }
        for (const auto& [nId, strText] : japanese) {
            EXPECT_TRUE(english.count(nId)) << "string " << nId << " is only in Japanese";
        }
    }
}

// The controls of a dialog as the dialog manager creates them, in order.
struct Control {
    int nId;
    std::string strClass;
    LONG nStyle, nExStyle;
    bool operator==(const Control& other) const {
        return nId == other.nId && strClass == other.strClass && nStyle == other.nStyle &&
               nExStyle == other.nExStyle;
    }
};

std::vector<Control> Controls(HMODULE hLibrary, UINT nDialog) {
    std::vector<Control> controls;
    HWND hDialog = CreateQuietDialog(hLibrary, nDialog);
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[64] = "";
        GetClassNameA(hChild, szClass, sizeof szClass);
        controls.push_back({GetDlgCtrlID(hChild), szClass, GetWindowLongA(hChild, GWL_STYLE),
                            GetWindowLongA(hChild, GWL_EXSTYLE)});
    }
    DestroyWindow(hDialog);
    return controls;
}

TEST(LibrariesMatch, BothLibrariesHaveTheSameDialogsControlsAndIcons) {
    HMODULE hEnglish = LoadLibraryA(StagedPath("RuRoredo.DLL").c_str());
    HMODULE hJapanese = LoadLibraryA(StagedPath("RuRoredoJPN.DLL").c_str());
    ASSERT_TRUE(hEnglish && hJapanese);
    const LPCWSTR types[] = {kDialogs, MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(3)}; // and icons
    for (LPCWSTR pszType : types) {
        EXPECT_EQ(ResourceIds(hEnglish, pszType), ResourceIds(hJapanese, pszType))
            << "resource type " << LOWORD(pszType);
    }
    for (UINT nDialog : ResourceIds(hEnglish, kDialogs)) {
        SCOPED_TRACE("dialog " + std::to_string(nDialog));
        const std::vector<Control> english = Controls(hEnglish, nDialog);
        const std::vector<Control> japanese = Controls(hJapanese, nDialog);
        ASSERT_EQ(english.size(), japanese.size());
        ASSERT_FALSE(english.empty());
        for (size_t i = 0; i < english.size(); ++i) {
            EXPECT_EQ(english[i], japanese[i])
                << "control " << english[i].nId << " (" << english[i].strClass << ") against "
                << japanese[i].nId << " (" << japanese[i].strClass << ")";
        }
    }
    FreeLibrary(hJapanese);
    FreeLibrary(hEnglish);
}

} // namespace
