// Resource numbers of the framework tests' own template.
#pragma once

#define IDD_FRAMEWORK_TEST 100
#define IDC_NAME 1001
#define IDC_NUMBER 1002
#define IDC_SPIN 1003
#define IDC_TREE 1004
#define IDC_TREE2 1005
#ifndef ID_HELP
#define ID_HELP 57670
#endif
