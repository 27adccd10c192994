#pragma once

// Resource and control numbers, shared by Mirawen.rc and the program.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MIRAWEN_DIALOG 102
#define IDD_IMPORTING 103
#define IDR_MAINFRAME 128
#define IDB_KEYCHART 129
#define IDB_KEYCHART_2X 130
#define IDC_LIST 1000
#define IDC_INPUT 1001
#define IDC_LINK 1002
#define IDC_CHART 1003
#define IDC_PROGRESS 1004
#define IDC_IMPORTING 1005

// System menu entries: a system command has its low four bits free.
#define IDM_ABOUTBOX 0x0010
#define IDM_IMPORT 0x0020
#define IDM_BRITISH 0x0030
#define IDM_AMERICAN 0x0040

// The context menus' entries.
#define ID_SPEAK_ROW 32771
#define ID_COPY_ROWS 32772
#define ID_SPEAK_TYPED 32773
#define ID_EDIT_UNDO 32774
#define ID_EDIT_CUT 32775
#define ID_EDIT_COPY 32776
#define ID_EDIT_PASTE 32777
#define ID_EDIT_SELECT_ALL 32778
