// The text of the suite's own files, which Notepad may have saved in any of its encodings, as the
// code page's narrow text the suite works in; and back.
#pragma once

#include <string>

// The bytes of a text file as the code page's text: text saved as UTF-8 (with or without a
// byte-order mark) or UTF-16 (either order, with a mark) is converted; a line with a character
// the code page cannot hold exactly becomes a line holding a control character, which no INI
// reader takes for a value.
std::string CodePageText(const std::string& strFile);
// The code page's text as UTF-8 with a byte-order mark, which any machine reads alike.
std::string Utf8FileText(const std::string& strText);
