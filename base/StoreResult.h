// The outcome of a library call that changes the key store, as the user learns it. A change that
// was not stored is never passed over: the user is told, with the system's reason, which the
// library leaves as the thread's last error.
#pragma once

#include "CString.h"

// nResult is the library call's result, taken at once so that nothing overwrites its reason.
// On failure shows string nMessage (a format whose %s takes the reason) and returns FALSE.
BOOL CheckStored(int nResult, UINT nMessage);

// Tells the user once where a damaged key store was set aside, if the library has done so since
// anyone last told.
void ReportSetAsideStore();
