// The locale resource library carries every resource the module asks for by number, and its
// format strings take exactly the arguments the module passes.
#include "LocaleLibrary.h"
#include "resource.h"

#include "../../base/ResourceText.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {

using LocaleResources = LocaleLibraryTest;

TEST_F(LocaleResources, EveryStringOfTheModuleHasText) {
    const UINT ids[] = {IDS_KEYFILE_MISSING,     IDS_COMMENT_PROGRAM, IDS_COMMENT_OTHER,
                        IDS_BROWSE_FOLDER_TITLE, IDS_SERVICE_MISSING, IDS_WORKDIR_DRIVE,
                        IDS_WORKDIR_INVALID,     IDS_KEY_UNASSIGNED,  IDS_RESET_QUESTION,
                        IDS_TARGET_INVALID,      IDS_NAME_NOT_KEPT,   AFX_IDS_APP_TITLE};
    for (UINT id : ids)
        EXPECT_FALSE(LocaleString(id).empty()) << "string " << id;
    EXPECT_EQ(LocaleString(AFX_IDS_APP_TITLE), "Corvane");
}

// A new assignment's comment is formatted with the name and then the extension, and nothing else:
// the module would show any other conversion as written.
TEST_F(LocaleResources, CommentFormatsTakeNameAndExtension) {
    for (UINT id : {IDS_COMMENT_PROGRAM, IDS_COMMENT_OTHER}) {
        const std::string format = LocaleString(id);
        EXPECT_EQ(std::count(format.begin(), format.end(), '%'), 2) << format;
        EXPECT_NE(FormatText(format.c_str(), {"plan", ".txt"}).Find("plan.txt"), -1) << format;
    }
}

// The unassigned key's text is formatted without arguments and drawn with prefix processing, so
// the format must give it back as written, and a lone & would vanish and underline the next letter.
TEST_F(LocaleResources, UnassignedTextFormatsAndDrawsAsWritten) {
    const std::string text = LocaleString(IDS_KEY_UNASSIGNED);
    EXPECT_STREQ(FormatText(text.c_str(), {}), text.c_str());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '&') << text;
            ++i;
        }
    }
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

// The panel's and the keys' icons load. Each key's fallback icon has a 16 and a 32 pixel image
// with alpha, and the keys differ in colour, not only in their digit, so that they can be told
// apart at a glance.
TEST_F(LocaleResources, IconsLoadAndKeyIconsHaveAlphaImagesAndDistinctColours) {
    EXPECT_NE(LoadIconA(m_hLibrary, MAKEINTRESOURCEA(IDI_PANEL)), nullptr);
    std::vector<IconImage> large;
    for (int key = 1; key <= 6; ++key) {
        EXPECT_NE(LoadIconA(m_hLibrary, MAKEINTRESOURCEA(IDI_KEY_BASE + key)), nullptr) << key;
        std::vector<IconImage> images = IconGroup(m_hLibrary, IDI_KEY_BASE + key);
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
