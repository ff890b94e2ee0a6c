#include "../../base/ResourceText.h"

#include <gtest/gtest.h>

TEST(ResourceText, TakesExactlyTheArgumentsGiven) {
    EXPECT_STREQ(FormatText("Starts %s%s", {"calc", ".exe"}), "Starts calc.exe");
    EXPECT_STREQ(FormatText("%s and %s and %s", {"a"}), "a and  and ");
    EXPECT_STREQ(FormatText("only text", {"unused"}), "only text");
    EXPECT_STREQ(FormatText(nullptr, {}), "");
}

TEST(ResourceText, PercentSignsNeverReadMissingArguments) {
    EXPECT_STREQ(FormatText("100%% sure", {}), "100% sure");
    EXPECT_STREQ(FormatText("%d %x %n %p", {}), "%d %x %n %p");
    EXPECT_STREQ(FormatText("trailing %", {}), "trailing %");
    // An argument with a percent sign shows as typed.
    EXPECT_STREQ(FormatText("Opens %s%s", {"50%off", ".txt"}), "Opens 50%off.txt");
    EXPECT_STREQ(FormatText("%s", {nullptr}), "");
}

TEST(ResourceText, WidthAndPrecisionOfStrings) {
    EXPECT_STREQ(FormatText("[%5s]", {"ab"}), "[   ab]");
    EXPECT_STREQ(FormatText("[%-5s]", {"ab"}), "[ab   ]");
    EXPECT_STREQ(FormatText("[%.2s]", {"abcdef"}), "[ab]");
    EXPECT_STREQ(FormatText("[%99999999999s]", {"x"}).Left(3), "[  ");
}
