// The small dialogs the main window's commands run. Each is a plain set of fields bound to its
// controls; callers preload the fields, run the dialog and read the fields after OK. Apart from
// the question about a file another program changed, they have no command handlers of their own.
#pragma once

#include "Dialog.h"
#include "resource.h"

// The version information window.
class CAboutDlg : public CDialog {
 public:
  CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};

// Word entry, for registering and for correcting an entry.
class CAddWordDlg : public CDialog {
 public:
  explicit CAddWordDlg(CWnd* parent = nullptr) : CDialog(IDD_ADDWORD, parent) {}
  void DoDataExchange(CDataExchange* pDX) override;

  CString m_strWord;
  CString m_strMeaning;
  int m_bContinuous = 0;
};

// The name of a new dictionary.
class CNewDictDlg : public CDialog {
 public:
  explicit CNewDictDlg(CWnd* parent = nullptr) : CDialog(IDD_NEWDICT, parent) {}
  void DoDataExchange(CDataExchange* pDX) override;

  CString m_strName;
};

// The options.
class CSettingsDlg : public CDialog {
 public:
  explicit CSettingsDlg(CWnd* parent = nullptr) : CDialog(IDD_SETTINGS, parent) {}
  void DoDataExchange(CDataExchange* pDX) override;

  int m_bLastFileOpen = 0;
  int m_bIfAddSave = 0;
  int m_bKeepBackups = 1;
};

// The question when another program changed the file about to be saved: IDOK merges and saves,
// IDYES overwrites, IDCANCEL (the button or Escape) saves nothing.
class CChangedOutsideDlg : public CDialog {
 public:
  explicit CChangedOutsideDlg(CWnd* parent = nullptr) : CDialog(IDD_CHANGED_OUTSIDE, parent) {}
  bool OnCmdMsg(UINT id, UINT code) override;
};
