// The menu of the service's tray icon: the saved key sets, the one that holds the current
// assignments checked, and a way to the key panel. What the menu shows and what a choice means
// are kept apart from the window that shows it, so that a menu can be had without a taskbar.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

struct CMenuDestroyer {
    void operator()(HMENU hMenu) const { DestroyMenu(hMenu); }
};
using CMenuHolder = std::unique_ptr<std::remove_pointer_t<HMENU>, CMenuDestroyer>;

// The commands of the menu; 0 is no choice. A set's command is its place in the list above the
// first set's.
constexpr UINT ID_OPEN_KEY_SETTINGS = 1;
constexpr UINT ID_FIRST_KEY_SET = 100;

class CKeySetMenu {
public:
    // pszNames as the library lists them, each name ended by '\n'; pszCurrent empty when no set
    // holds the current assignments.
    CKeySetMenu(const char* pszNames, const char* pszCurrent);

    // A popup menu of the sets, or of one greyed line when there are none, then the key panel;
    // empty when the system gives no menu.
    CMenuHolder Create() const;
    // The set a command of the menu chooses, named as it was when the menu was made: a set
    // renamed or gone meanwhile is the library's to tell. Empty for any other command.
    std::string SetOfCommand(UINT nCommand) const;

private:
    std::vector<std::string> m_names;
    std::string m_strCurrent;
};

// Why a set could not be used, from the library's failed call: its wrong line (-1: no key file at
// all) for a set edited by hand, else the system's reason.
std::string KeySetProblem(DWORD dwError, int nLine);
