#pragma once
// Resource ids of the controls' test dialog.
#define IDD_TEST_CONTROLS 200
#define IDI_TEST_RED 300
#define IDI_TEST_BLUE 301
#define IDC_TEST_LINK 1001
#define IDC_TEST_IMPORT 1002
#define IDC_TEST_LINK2 1003
#define IDC_TEST_EXPORT 1004
#define IDC_TEST_LINK3 1005
#define IDC_TEST_CHOOSE 1006
