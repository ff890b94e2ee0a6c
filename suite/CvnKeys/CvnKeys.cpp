// CvnKeys.exe: the keys from the command line. Help needs neither library; every other command
// binds the locale library (the dialogs' messages, the words of a new assignment) and the
// shortcut-service library as the key panel does.
#include "ConsoleStrings.h"
#include "ConsoleText.h"
#include "KeyCommands.h"

#include "../../base/ZuCom.h"

#include "AfxResource.h"

#include <shellapi.h>

namespace {

bool IsHelp(const std::wstring& strArg) {
    return strArg == L"/?" || strArg == L"-h" || strArg == L"--help";
}

int LibraryMissing(const wchar_t* pszName) {
    Write(Output::Error, ConsoleText(IDS_LIBRARY_MISSING, {pszName}) + L"\n");
    return EXIT_FAILED;
}

} // namespace

int main() {
    int nArgs = 0;
    LPWSTR* ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    std::vector<std::wstring> args(ppArgs ? ppArgs + 1 : nullptr,
                                   ppArgs ? ppArgs + nArgs : nullptr);
    LocalFree(ppArgs);
    if (!args.empty() && IsHelp(args[0])) {
        Write(Output::Standard, ConsoleText(IDS_USAGE) + L"\n");
        return EXIT_DONE;
    }
    HINSTANCE hLocale = AfxLoadLibrary("RuRoredo.DLL");
    if (!hLocale) {
        return LibraryMissing(L"RuRoredo.DLL");
    }
    AfxSetResourceHandle(hLocale);
    if (!ZuComLoadLibrary()) {
        return LibraryMissing(L"VeDerovu.dll");
    }
    return RunKeyCommand(args);
}
