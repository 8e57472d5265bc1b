#pragma once
// Resource ids of the framework tests' dialogs (test_resources.rc).
#define IDD_TEST_DIALOG 100
#define IDD_TEST_PAGE 101
#define IDD_TEST_MISSING 199
#define IDC_TEST_EDIT 1001
#define IDC_TEST_THROW 1002
