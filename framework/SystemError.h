// What the system says about one of its error codes, for messages that tell the user why.
#pragma once

#include "CString.h"

// The system's text for dwError without its line end, or "error <number>" when it has none.
CString SystemErrorText(DWORD dwError);
