// The small dialogs the main window's commands run. Each is a plain set of fields bound to its
// controls; callers preload the fields, run the dialog and read the fields after OK. Apart from
// the question about a file another program changed and the list of earlier versions, they have
// no command handlers of their own.
#pragma once

#include <vector>

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

// The earlier versions of the open dictionary, to choose one to open. The caller fills m_rows,
// newest first; the newest that can be opened is selected at the start. OK on one that cannot
// be opened says why and stays; after OK, m_nChosen is the row chosen.
class CRestoreDlg : public CDialog {
 public:
  explicit CRestoreDlg(CWnd* parent = nullptr) : CDialog(IDD_RESTORE, parent) {}
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  // A double click on a version opens it, as OK does.
  bool OnCmdMsg(UINT id, UINT code) override;

  struct Row {
    CString text;
    CString whyNot;  // the notice for a version that cannot be opened; empty when it can
  };
  std::vector<Row> m_rows;
  int m_nChosen = -1;

 private:
  CListBox m_listVersions;
};

// The question when another program changed the file about to be saved: IDOK merges and saves,
// IDYES overwrites, IDCANCEL (the button or Escape) saves nothing.
class CChangedOutsideDlg : public CDialog {
 public:
  explicit CChangedOutsideDlg(CWnd* parent = nullptr) : CDialog(IDD_CHANGED_OUTSIDE, parent) {}
  bool OnCmdMsg(UINT id, UINT code) override;
};
