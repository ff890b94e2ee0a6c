// Whether a key's target can be started as it stands: its file, folder or drive there, its
// working folder too. Looked at on a thread of its own and never waited for longer than a second,
// so that a network server that does not answer holds up no caller.
#pragma once

#include <windows.h>

// Fills *pnHealth with a ZuComTargetHealth; false only for a null argument or when no thread
// could be started.
bool CheckTargetHealth(LPCSTR pszTarget, LPCSTR pszFolder, int* pnHealth);
