// The framework layer in one include: the application, windows, dialogs, strings, file search.
#pragma once

#include "AfxResource.h"
#include "CButton.h"
#include "CDC.h"
#include "CDialog.h"
#include "CFileFind.h"
#include "CString.h"
#include "CWinApp.h"
#include "CWnd.h"
