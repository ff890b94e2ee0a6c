// The program's own resources (res/VuViravuz.rc, linked into this test as into the program):
// the message shown when the locale library is missing, in both languages, the application
// name, the application icon, the manifest, and the version every staged binary carries.
#include "LocaleLibrary.h"
#include "Version.h"
#include "resource.h"

#include "../common/Process.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// String `id` in exactly `language`, read from its string block (16 counted UTF-16 strings).
std::u16string StringIn(UINT id, WORD language) {
    const std::string block = ResourceBytes(GetModuleHandleA(nullptr),
                                            MAKEINTRESOURCEA(id / 16 + 1), RT_STRING, language);
    auto data = reinterpret_cast<const char16_t*>(block.data());
    const char16_t* end = data + block.size() / sizeof(char16_t);
    for (UINT index = 0; data < end; ++index) {
        size_t length = *data++;
        if (length > static_cast<size_t>(end - data))
            break;
        if (index == id % 16)
            return std::u16string(data, length);
        data += length;
    }
    return u"<missing>";
}

const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

TEST(ProgramResources, MissingLibraryMessageAndNameInBothLanguages) {
    for (auto [id, language, strText] :
         {std::tuple<UINT, WORD, std::u16string>{IDS_DLL_MISSING, kNeutral,
                                                 u"Error: Can't find a DLL(%s)\nExit a program."},
          {IDS_DLL_MISSING, kJapanese,
           u"エラー： DLL(%s)を見つけられませんでした。\nソフトウェアを終了します。"},
          {AFX_IDS_APP_TITLE, kNeutral, u"Corvane"},
          {AFX_IDS_APP_TITLE, kJapanese, u"Corvane"}}) {
        EXPECT_TRUE(StringIn(id, language) == strText) << id << " in language " << language;
    }
}

TEST(ProgramResources, ApplicationIconHasEightAlphaImages) {
    std::vector<IconImage> images = IconGroup(GetModuleHandleA(nullptr), IDR_MAINFRAME);
    std::vector<int> sizes;
    for (const IconImage& image : images) {
        sizes.push_back(image.nSize);
        EXPECT_EQ(image.nBitCount, 32) << image.nSize;
        EXPECT_FALSE(image.bgra.empty()) << image.nSize;
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

TEST(ProgramResources, ManifestAsksForDpiAwarenessCommonControlsAndNoElevation) {
    const std::string manifest =
        ResourceBytes(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {"<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                             "WindowsSettings\">true</dpiAware>",
                             "level=\"asInvoker\"",
                             "name=\"Microsoft.Windows.Common-Controls\" "
                             "version=\"6.0.0.0\""})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

// What a file's Properties page shows: one of its version strings.
std::string VersionString(const std::string& strFile, const char* pszName) {
    DWORD handle = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(strFile.c_str(), &handle));
    if (data.empty() || !GetFileVersionInfoA(strFile.c_str(), 0, data.size(), data.data()))
        return "<no version resource>";
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904B0\\") + pszName;
    if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "<no " + std::string(pszName) + ">";
    return value;
}

TEST(ProgramResources, EveryStagedBinaryCarriesTheSuitesVersion) {
    for (const char* file : {"VuViravuz.exe", "VeDerovu.dll", "VeRiro.exe", "RuRoredo.DLL"}) {
        SCOPED_TRACE(file);
        const std::string path = StagedPath(file);
        for (auto [pszName, pszValue] : {std::pair{"ProductName", "Corvane"},
                                         {"FileVersion", VV_VERSION_TEXT},
                                         {"ProductVersion", VV_VERSION_TEXT},
                                         {"OriginalFilename", file}}) {
            EXPECT_EQ(pszValue, VersionString(path, pszName)) << pszName;
        }
        EXPECT_EQ(0u, VersionString(path, "FileDescription").find("Corvane "));
    }
}

} // namespace
