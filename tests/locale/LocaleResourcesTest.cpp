// The locale resource library carries every resource the module asks for by number, and its
// format strings take exactly the arguments the module passes.
#include "LocaleLibrary.h"
#include "resource.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace {

class LocaleResources : public testing::Test {
protected:
    static void SetUpTestSuite() { s_hLibrary = LoadLocaleLibrary(); }
    void SetUp() override {
        ASSERT_NE(s_hLibrary, nullptr) << "..\\stage\\RuRoredo.DLL not loaded";
    }
    static HMODULE s_hLibrary;
};
HMODULE LocaleResources::s_hLibrary = nullptr;

// The printf conversions of `format` in order ("%s", "%d", ...); "%%" is text, not a conversion.
// An unfinished conversion at the end is reported as "%".
std::vector<std::string> Conversions(const std::string& format) {
    std::vector<std::string> found;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < format.size() && !std::isalpha(static_cast<unsigned char>(format[end])))
            ++end;
        while (end < format.size() && strchr("hljztL", format[end]))
            ++end;
        found.push_back(format.substr(i, end < format.size() ? end - i + 1 : end - i));
        i = end;
    }
    return found;
}

TEST(FormatConversions, FindsEveryConversionAndSkipsDoubledPercent) {
    EXPECT_EQ(Conversions("100%% done"), std::vector<std::string>{});
    EXPECT_EQ(Conversions("%s%s"), (std::vector<std::string>{"%s", "%s"}));
    EXPECT_EQ(Conversions("%-5d of %ls %"), (std::vector<std::string>{"%-5d", "%ls", "%"}));
    EXPECT_EQ(Conversions("50% off"), std::vector<std::string>{"% o"});
}

TEST_F(LocaleResources, EveryStringOfTheModuleHasText) {
    const UINT ids[] = {IDS_KEYFILE_MISSING,     IDS_COMMENT_PROGRAM, IDS_COMMENT_OTHER,
                        IDS_BROWSE_FOLDER_TITLE, IDS_SERVICE_MISSING, IDS_WORKDIR_DRIVE,
                        IDS_WORKDIR_INVALID,     IDS_KEY_UNASSIGNED,  IDS_RESET_QUESTION,
                        IDS_TARGET_INVALID,      AFX_IDS_APP_TITLE};
    for (UINT id : ids)
        EXPECT_FALSE(LoadResourceString(s_hLibrary, id).empty()) << "string " << id;
    EXPECT_EQ(LoadResourceString(s_hLibrary, AFX_IDS_APP_TITLE), "Corvane");
}

// A new assignment's comment is formatted with the name and then the extension; any other
// conversion would read an argument that is not there.
TEST_F(LocaleResources, CommentFormatsTakeNameAndExtension) {
    for (UINT id : {IDS_COMMENT_PROGRAM, IDS_COMMENT_OTHER}) {
        std::string format = LoadResourceString(s_hLibrary, id);
        EXPECT_EQ(Conversions(format), (std::vector<std::string>{"%s", "%s"})) << format;
        char text[512];
        snprintf(text, sizeof text, format.c_str(), "plan", ".txt");
        EXPECT_NE(strstr(text, "plan.txt"), nullptr) << text;
    }
}

// The unassigned key's text is formatted without arguments and drawn with prefix processing,
// so a lone % would read garbage and a lone & would vanish and underline the next letter.
TEST_F(LocaleResources, UnassignedTextFormatsAndDrawsAsWritten) {
    std::string text = LoadResourceString(s_hLibrary, IDS_KEY_UNASSIGNED);
    EXPECT_TRUE(Conversions(text).empty()) << text;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '&') << text;
            ++i;
        }
    }
}

TEST_F(LocaleResources, IconsLoad) {
    EXPECT_NE(LoadIconA(s_hLibrary, MAKEINTRESOURCEA(IDI_PANEL)), nullptr);
    for (int key = 1; key <= 6; ++key)
        EXPECT_NE(LoadIconA(s_hLibrary, MAKEINTRESOURCEA(IDI_KEY_BASE + key)), nullptr) << key;
}

// Some pixels opaque and some not: the image carries a real alpha channel.
bool HasAlpha(const IconImage& image) {
    bool opaque = false, translucent = false;
    for (size_t i = 3; i < image.bgra.size(); i += 4) {
        opaque |= image.bgra[i] == 255;
        translucent |= image.bgra[i] < 255;
    }
    return opaque && translucent;
}

// Mean colour distance of two images of one size, pixel by pixel. Icons that differ only in
// their digit stay below 20; icons of different colours are far apart.
double ColourDistance(const IconImage& a, const IconImage& b) {
    double sum = 0;
    for (size_t i = 0; i + 3 < a.bgra.size() && i + 3 < b.bgra.size(); i += 4) {
        sum += std::sqrt(std::pow(a.bgra[i] - b.bgra[i], 2.0) +
                         std::pow(a.bgra[i + 1] - b.bgra[i + 1], 2.0) +
                         std::pow(a.bgra[i + 2] - b.bgra[i + 2], 2.0));
    }
    return a.bgra.empty() ? 0 : sum / (a.bgra.size() / 4);
}

// Each key's fallback icon has a 16 and a 32 pixel image with alpha, and the keys differ in
// colour, not only in their digit, so that they can be told apart at a glance.
TEST_F(LocaleResources, KeyIconsHaveAlphaImagesAndDistinctColours) {
    std::vector<IconImage> large;
    for (int key = 1; key <= 6; ++key) {
        std::vector<IconImage> images = IconGroup(s_hLibrary, IDI_KEY_BASE + key);
        for (int size : {16, 32}) {
            auto image = std::find_if(images.begin(), images.end(),
                                      [size](const IconImage& i) { return i.nSize == size; });
            ASSERT_NE(image, images.end()) << "key " << key << " has no " << size << " px image";
            EXPECT_EQ(image->nBitCount, 32) << key;
            EXPECT_TRUE(HasAlpha(*image)) << key << " at " << size;
            if (size == 32)
                large.push_back(*image);
        }
    }
    for (size_t a = 0; a < large.size(); ++a) {
        for (size_t b = a + 1; b < large.size(); ++b) {
            EXPECT_GT(ColourDistance(large[a], large[b]), 35.0)
                << "keys S" << a + 1 << " and S" << b + 1;
        }
    }
}

} // namespace
