// Starting a key's target as the shell starts it: programs, documents, shortcut files (with their
// own arguments), folders and drive roots.
#pragma once

#include <windows.h>

#include <string>

struct CLaunchRequest {
    std::string strLegend; // the key as the user knows it, for the notice
    std::string strName;   // the assignment's title, or else the target's file name
    std::string strTarget;
    std::string strFolder; // the working folder; empty: a program's own folder, else none
    std::string strParameters;
};

// The notice about a target that did not start; the receiver of the reply message owns it.
struct CLaunchNotice {
    std::string strTitle;
    std::string strText;
};

// Starts the target on a thread of its own, so that a slow drive or a stuck shell extension never
// keeps the service from the other keys. When the target cannot be started, the thread posts
// uReply to hReply with a new CLaunchNotice as the LPARAM. False when no thread could be started.
bool StartLaunch(HWND hReply, UINT uReply, const CLaunchRequest& request);
