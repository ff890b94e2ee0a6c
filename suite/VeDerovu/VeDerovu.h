// Public interface of the shortcut-service library VeDerovu.dll.
//
// Every function returns non-zero for success; a call that changes the key store and fails leaves
// the system's reason as the thread's last error. Paths are narrow strings in buffers of MAX_PATH
// (260) bytes. Keys are numbered 1 to 6; a key's event number is its number plus 512, while the
// key-option calls take the number minus 1.
#pragma once

#include <windows.h>

#include "../../framework/CString.h"

// One key's assignment: nine one-word slots. The library assigns into the strings, so both sides
// must use the same CString (its buffers live on the process heap).
struct KeyAssignment {
    CString Title;
    CString Comment;
    CString Target;
    CString WorkingFolder;
    CString Parameters;
    CString IconSource;
    int nReserved = 0; // held for the library; the module never reads it
    CString Reserved1;
    CString Reserved2;
};
static_assert(sizeof(KeyAssignment) == 9 * sizeof(void*), "the record is nine one-word slots");

constexpr int ZUCOM_EVENT_BASE = 512;

// Posted by the library to the registered client window (the key panel) after it has stored a
// change of the key data made by another process, so that the panel shows the new state at once.
constexpr UINT WM_PANEL_REFRESH = WM_APP + 0x81;

enum ZuComPathKind {
    ZUCOM_PATH_PROGRAM_FOLDER = 0,
    ZUCOM_PATH_HELP_FILE = 3,
    ZUCOM_PATH_KEY_SETTINGS = 5,
    ZUCOM_PATH_KEY_STORE = 6, // the user's key store, which the shortcut service watches
};

// The function types; the key panel binds to them at run time, the service links them.
using ZuComGetAppDataOfHarlEventFn = int(KeyAssignment* pRecord, int nEvent);
using ZuComSetAppDataOfHarlEventFn = int(KeyAssignment* pRecord, int nEvent);
using ZuComGetIconHandleFn = int(HICON* phIcon, CString strPath, int nLarge);
using ZuComGetPathFn = int(int nKind, LPSTR pszBuffer);
using ZuComPathAppendFn = int(LPSTR pszBuffer, LPCSTR pszName);
using ZuComGetServerFn = int(HWND* phWnd);
using ZuComGetClientFn = int(HWND* phWnd);
using ZuComSetClientFn = int(HWND hWnd);
using ZuComInitSKeyDataFn = int(int nMode);
using ZuComGetSKeyNumFn = int(int* pnCount);
using ZuComGetKeyOptionFn = int(int nKeyIndex, int* pbFlag, int* pnNumber);
using ZuComSetKeyOptionFn = int(int nKeyIndex, int bFlag, int nNumber);
// Once after a damaged key store has been set aside: the path of the copy it was set aside as,
// for the one caller that tells the user. The key panel looks for this call and does without it.
using ZuComTakeStoreNoticeFn = int(LPSTR pszAside);

// The calls of the suite's console program and the service's tray menu, all by name. A change
// made through them is one change like any other: kept for undo, announced to a key panel.
//
// A key's record and option as one change (the record as ZuComSetAppDataOfHarlEvent takes it, the
// option as ZuComSetKeyOption).
using ZuComSetKeyAssignmentFn = int(const KeyAssignment* pRecord, int nEvent, int bFlag,
                                    int nNumber);
// The export file: the key store's own text as UTF-8 with a byte-order mark.
using ZuComExportKeysFn = int(CString* pText);
// Checks the whole file (bytes as read, in any encoding ReadTextFile takes) and only then stores
// it; when it is wrong nothing changes, the call fails with ERROR_INVALID_DATA and *pnLine is the
// first wrong line, or -1 when the file is no key file.
using ZuComImportKeysFn = int(const char* pBytes, int nSize, int* pnLine);
// Brings back the keys as they were before the latest change (the ten latest are kept); fails
// with ERROR_NO_MORE_ITEMS when there is none to undo.
using ZuComUndoKeysFn = int();
// Named key sets beside the store. A name is 1 to 64 characters that can be a file name
// (ERROR_INVALID_NAME otherwise); a set that is not there fails with ERROR_FILE_NOT_FOUND.
using ZuComSaveKeySetFn = int(LPCSTR pszName);
// Makes the set the current assignments; a set edited by hand that is wrong fails as an import.
using ZuComUseKeySetFn = int(LPCSTR pszName, int* pnLine);
using ZuComDeleteKeySetFn = int(LPCSTR pszName);
// The saved sets' names, each ended by '\n', in name order; *pCurrent the first of them whose
// keys are the current assignments, or empty.
using ZuComListKeySetsFn = int(CString* pNames, CString* pCurrent);

// A key target's health: whether it can be started as it stands.
enum ZuComTargetHealth {
    ZUCOM_HEALTH_OK = 0,
    ZUCOM_HEALTH_TARGET_MISSING = 1, // the file or folder is not there
    ZUCOM_HEALTH_DRIVE_MISSING = 2,  // nor its drive (or the drive holds no disc)
    ZUCOM_HEALTH_FOLDER_MISSING = 3, // the working folder is not there
    ZUCOM_HEALTH_NO_ANSWER = 4,      // no answer within a second: a network server, say
};
// pszFolder is the working folder, or empty. Waits a second at most.
using ZuComCheckTargetFn = int(LPCSTR pszTarget, LPCSTR pszFolder, int* pnHealth);

constexpr int ZUCOM_ORDINAL_GET_KEY_OPTION = 62;
constexpr int ZUCOM_ORDINAL_SET_KEY_OPTION = 63;

#if defined(VEDEROVU_BUILD) || defined(VEDEROVU_IMPORT)
#ifdef VEDEROVU_BUILD
#define VEDEROVU_API extern "C" __declspec(dllexport)
#else
#define VEDEROVU_API extern "C" __declspec(dllimport)
#endif
// CString goes by value through ZuComGetIconHandle: both sides are C++ built with one compiler.
VEDEROVU_API ZuComGetAppDataOfHarlEventFn ZuComGetAppDataOfHarlEvent;
VEDEROVU_API ZuComSetAppDataOfHarlEventFn ZuComSetAppDataOfHarlEvent;
VEDEROVU_API ZuComGetIconHandleFn ZuComGetIconHandle;
VEDEROVU_API ZuComGetPathFn ZuComGetPath;
VEDEROVU_API ZuComPathAppendFn ZuComPathAppend;
VEDEROVU_API ZuComGetServerFn ZuComGetServer;
VEDEROVU_API ZuComGetClientFn ZuComGetClient;
VEDEROVU_API ZuComSetClientFn ZuComSetClient;
VEDEROVU_API ZuComInitSKeyDataFn ZuComInitSKeyData;
VEDEROVU_API ZuComGetSKeyNumFn ZuComGetSKeyNum;
// Exported by ordinal only (62 and 63): the names do not appear in the export table.
VEDEROVU_API ZuComGetKeyOptionFn ZuComGetKeyOption;
VEDEROVU_API ZuComSetKeyOptionFn ZuComSetKeyOption;
VEDEROVU_API ZuComTakeStoreNoticeFn ZuComTakeStoreNotice;
VEDEROVU_API ZuComSetKeyAssignmentFn ZuComSetKeyAssignment;
VEDEROVU_API ZuComExportKeysFn ZuComExportKeys;
VEDEROVU_API ZuComImportKeysFn ZuComImportKeys;
VEDEROVU_API ZuComUndoKeysFn ZuComUndoKeys;
VEDEROVU_API ZuComSaveKeySetFn ZuComSaveKeySet;
VEDEROVU_API ZuComUseKeySetFn ZuComUseKeySet;
VEDEROVU_API ZuComDeleteKeySetFn ZuComDeleteKeySet;
VEDEROVU_API ZuComListKeySetsFn ZuComListKeySets;
VEDEROVU_API ZuComCheckTargetFn ZuComCheckTarget;
#endif
