// The console program's texts and its input and output. Messages go to the error output, results
// to the standard output; both reach a console window as the text they are, and a file or pipe in
// the console's code page (or, where a format says so, UTF-8).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// String nId of the program's own string table with the texts given in place of %1, %2 and so on.
std::wstring ConsoleText(UINT nId, std::initializer_list<std::wstring> args = {});
// A message of the suite's locale library, which the dialogs show for the same fault.
std::wstring LocaleText(UINT nId);

enum class Output { Standard, Error };
// Line ends are written as CRLF.
void Write(Output output, const std::wstring& strText, bool bUtf8 = false);
// Bytes as they are to a file or pipe; to a console window, the UTF-8 text they hold.
bool WriteBytes(const std::string& strBytes);
// The whole of a file or of the standard input (path "-"); false with the system's error.
bool ReadAllBytes(const std::wstring& strPath, std::string& strBytes);
// A new file with the bytes, or the standard output (path "-"); false with the system's error.
bool WriteAllBytes(const std::wstring& strPath, const std::string& strBytes);
