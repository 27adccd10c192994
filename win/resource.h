#pragma once

// Resource and control numbers, shared by Mirawen.rc and the program.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MIRAWEN_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_KEYCHART 129
#define IDC_LIST 1000
#define IDC_INPUT 1001
#define IDC_LINK 1002

// The About entry of the system menu: a system command has its low four bits free.
#define IDM_ABOUTBOX 0x0010
