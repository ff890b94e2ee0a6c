// Helpers of the locale library's tests: a fixture on the staged library, resources' bytes and
// icon images.
#pragma once
#include "../common/DialogGeometry.h"
#include "../common/LocaleLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every test of the locale library's resources.
class LocaleLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_hLibrary, nullptr) << LocaleLibraryName() << " not loaded";
        ASSERT_TRUE(RunsAtAskedResolution());
    }
    const HMODULE m_hLibrary = LocaleLibrary();
};

// The bytes of resource `name` of `type` in `language` (neutral: as FindResource looks it up);
// empty when there is none.
std::string ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type,
                          WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));

// One image of an icon group resource, as the group directory lists it.
struct IconImage {
    int nSize;              // width and height in pixels (256 for a 0 entry)
    int nBitCount;          // bits per pixel, from the directory
    std::vector<BYTE> bgra; // colour pixels of a 32-bit DIB image, bottom-up; else empty
};

// The images of icon group `id` of `module`, in directory order; empty when there is none.
std::vector<IconImage> IconGroup(HMODULE module, int id);
