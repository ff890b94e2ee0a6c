// The help files as the build stages them, read through the system's storage for compiled help:
// both topics that the module's windows ask for, and a manual whose pages all link to one
// another, with contents and index that point only at pages it holds; the Japanese file with the
// English file's pages, since the windows ask for the same topics in either.
#include "../common/Process.h"

#include "../../base/HelpTopics.h"

#include "CComHeapPtr.h"
#include "CComInit.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <set>

// The part of the storage's interface that opening a file needs. Outside the unnamed namespace:
// the compiler would take a class no file of the program implements for one never called.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD,
                                                                   IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD,
                                                     IStorage**) = 0;
};
namespace {

using Microsoft::WRL::ComPtr;

constexpr CLSID kItStorageClass = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
constexpr IID kItStorageInterface = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

std::wstring Wide(const std::string& strText) {
    return std::wstring(strText.begin(), strText.end());
}

// The staged help file of each language.
class HelpFile : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(m_com.Result()));
        Open(GetParam());
    }

    void Open(const char* pszFile) {
        ComPtr<IITStorage> pFactory;
        ASSERT_EQ(S_OK, CoCreateInstance(kItStorageClass, nullptr, CLSCTX_INPROC_SERVER,
                                         kItStorageInterface, &pFactory));
        ASSERT_EQ(S_OK, pFactory->StgOpenStorage(Wide(StagedPath(pszFile)).c_str(), nullptr,
                                                 STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                                                 &m_pRoot));
    }

    // A file inside the help file, found as the help control finds a topic.
    std::optional<std::string> Read(const std::string& strPath) const {
        ComPtr<IStream> pStream;
        if (m_pRoot->OpenStream(Wide(strPath).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                &pStream) != S_OK) {
            return std::nullopt;
        }
        std::string strText;
        char buffer[4096];
        ULONG nRead = 0;
        while (pStream->Read(buffer, sizeof(buffer), &nRead) == S_OK && nRead > 0) {
            strText.append(buffer, nRead);
        }
        return strText;
    }

    // The pages of the manual: every .htm file of its Html folder.
    std::set<std::string> Pages() const {
        std::set<std::string> pages;
        ComPtr<IStorage> pFolder;
        ComPtr<IEnumSTATSTG> pEntries;
        if (m_pRoot->OpenStorage(L"Html", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                 &pFolder) != S_OK ||
            pFolder->EnumElements(0, nullptr, 0, &pEntries) != S_OK) {
            return pages;
        }
        STATSTG entry;
        ULONG nFetched = 0; // Wine's storage writes the count even when asked not to
        while (pEntries->Next(1, &entry, &nFetched) == S_OK) {
            // Wine names the entries from the top of the file, Windows within the folder.
            CComHeapPtr<WCHAR> pName(entry.pwcsName);
            std::wstring strPath(pName);
            std::string strName(strPath.begin() + strPath.find_last_of(L'/') + 1, strPath.end());
            if (strName.size() > 4 && strName.substr(strName.size() - 4) == ".htm") {
                pages.insert(strName);
            }
        }
        return pages;
    }

    CComInit m_com; // before the storage, which must go first
    ComPtr<IStorage> m_pRoot;
};

// The first group of every match of a pattern in a text.
std::set<std::string> Matches(const std::string& strText, const char* pszPattern) {
    std::set<std::string> matches;
    const std::regex pattern(pszPattern);
    for (std::sregex_iterator it(strText.begin(), strText.end(), pattern), end; it != end; ++it) {
        matches.insert((*it)[1]);
    }
    return matches;
}

TEST_P(HelpFile, HoldsBothTopicsAndDefaultTopicSpelledAsTheyAreAskedFor) {
    for (const char* pszTopic : {kSettingsHelpTopic, kDetailHelpTopic, "Html/T0010Keys.htm"}) {
        EXPECT_TRUE(Read(pszTopic).has_value()) << pszTopic;
    }
    EXPECT_FALSE(Read("Html/T0099None.htm").has_value());
}

TEST_P(HelpFile, EveryPageLinksToEveryOtherAndContentsAndIndexFindThemAll) {
    const std::set<std::string> pages = Pages();
    ASSERT_GE(pages.size(), 9u);
    for (const std::string& strPage : pages) {
        SCOPED_TRACE(strPage);
        const std::set<std::string> linked =
            Matches(Read("Html/" + strPage).value_or(""), "href=\"([^\"#]+)");
        for (const std::string& strOther : pages) {
            EXPECT_EQ(strOther != strPage, linked.count(strOther) == 1) << strOther;
        }
        for (const std::string& strLink : linked) {
            EXPECT_TRUE(Read("Html/" + strLink).has_value()) << strLink << " is missing";
        }
    }
    for (const char* pszList : {"Contents.hhc", "Index.hhk"}) {
        const std::set<std::string> listed =
            Matches(Read(pszList).value_or(""), "name=\"Local\" value=\"Html/([^\"]+)");
        EXPECT_TRUE(std::includes(pages.begin(), pages.end(), listed.begin(), listed.end()))
            << pszList << " lists a page that is not there";
        if (std::string(pszList) == "Contents.hhc") {
            EXPECT_EQ(pages, listed) << "the contents list every page";
        }
    }
    // F1 in a window asks for one path, whichever language's file is installed.
    Open("Corvane.chm");
    EXPECT_EQ(Pages(), pages) << "the pages are not the English file's";
}

INSTANTIATE_TEST_SUITE_P(Languages, HelpFile, testing::Values("Corvane.chm", "CorvaneJPN.chm"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             const std::string strFile(info.param);
                             return strFile.substr(0, strFile.find('.'));
                         });

} // namespace
