// The framework layer in one include: the application, windows, dialogs and their data exchange,
// controls, strings, file search.
#pragma once

#include "AfxResource.h"
#include "CButton.h"
#include "CChangeGuard.h"
#include "CDC.h"
#include "CDialog.h"
#include "CEdit.h"
#include "CFileFind.h"
#include "CIconHolder.h"
#include "CImageList.h"
#include "CSpinButtonCtrl.h"
#include "CString.h"
#include "CTreeCtrl.h"
#include "CWinApp.h"
#include "CWnd.h"
#include "DataExchange.h"
