// The text of the suite's own files, which Notepad may have saved in any of its encodings, as the
// code page's narrow text the suite works in; and back.
#pragma once

#include <windows.h>

#include <string>

// The bytes of a text file as the code page's text: text saved as UTF-8 (with or without a
// byte-order mark) or UTF-16 (either order, with a mark) is converted; a line with a character
// the code page cannot hold exactly becomes a line holding a control character, which no INI
// reader takes for a value.
std::string CodePageText(const std::string& strFile);
// The code page's text as UTF-8 with a byte-order mark, which any machine reads alike.
std::string Utf8FileText(const std::string& strText);

// Everything that can be read from a file or a pipe (whose writer has finished), at most
// dwMaxSize bytes; false with the system's reason as the thread's last error
// (ERROR_FILE_TOO_LARGE beyond the limit).
bool ReadAllFrom(HANDLE hInput, std::string& strBytes, DWORD dwMaxSize);
// The same of the file strPath.
bool ReadFileBytes(const std::wstring& strPath, std::string& strBytes, DWORD dwMaxSize);
// Writes the file whole, flushed to the disk; false with the system's reason as the thread's last
// error (ERROR_DISK_FULL when not all of it was written).
bool WriteFileBytes(const std::wstring& strPath, const std::string& strBytes);
