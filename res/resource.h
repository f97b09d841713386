// Resource and command identifiers of the program.
#pragma once

#define IDC_STATIC (-1)

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_VOKARI_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_MENU 129
#define IDD_NEWDICT 130
#define IDD_ADDWORD 131
#define IDD_SETTINGS 133
#define IDD_CHANGED_OUTSIDE 134
#define IDD_RESTORE 135

// Main window controls.
#define IDC_SEARCH_TEXT 1000
#define IDC_WORD_LIST 1001
#define IDC_SEARCH 1002
#define IDC_DICT_LABEL 1003
#define IDC_OPEN_DICT 1004
#define IDC_SHOWN_WORD 1005
#define IDC_SHOWN_MEANING 1006
#define IDC_COUNT_LABEL 1007

// Secondary dialogs' controls.
#define IDC_DICT_NAME 1006
#define IDC_ENTRY_WORD 1007
#define IDC_ENTRY_MEANING 1008
#define IDC_LAST_FILE_OPEN 1009
#define IDC_CONTINUOUS 1010
#define IDC_IF_ADD_SAVE 1011
#define IDC_KEEP_BACKUPS 1012
#define IDC_VERSION_LIST 1013

// Menu commands.
#define ID_VERSION_INFO 32772
#define ID_DICT_NEW 32773
#define ID_WORD_ADD 32774
#define ID_WORD_DELETE 32775
#define ID_SETTINGS 32776
#define ID_WORD_MODIFY 32777
#define ID_FILE_RESTORE 32778
#define ID_EDIT_UNDO 57643
#define ID_EDIT_REDO 57644
// The search options of the 検索 menu.
#define ID_SEARCH_FOLD 32790
#define ID_SEARCH_MEANINGS 32791

// The strings the framework asks for by its own IDs (AFX_IDS_*, AFX_IDP_*) are declared in
// AfxRes.h; their text is in Strings.cpp with the program's other strings.
