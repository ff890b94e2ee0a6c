// What the detail dialog lets a user give a key, and the console program too: the lengths of the
// four texts and the range of the hold time, in tenths of a second.
#pragma once

constexpr int kTitleChars = 64;
constexpr int kCommentChars = 64;
constexpr int kPathChars = 256;
constexpr int kOptionMin = 1;
constexpr int kOptionMax = 99;
constexpr int kOptionDefault = 5;

// A hold time edited by hand out of range is shown, and stored again, as the default.
constexpr int ShownOptionNumber(int nNumber) {
    return nNumber < kOptionMin || nNumber > kOptionMax ? kOptionDefault : nNumber;
}
