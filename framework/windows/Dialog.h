// CDialog: a window built from a dialog template and run modally. The default OnOK reads every
// bound control back and ends with IDOK; OnCancel ends with IDCANCEL. Create() builds the window
// without a modal run, for harnesses that drive it step by step.
#pragma once

#include "Wnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(int templateId, CWnd* parent = nullptr)
      : m_templateId(templateId), m_pParentWnd(parent) {}

  virtual INT_PTR DoModal();
  BOOL Create();
  void EndDialog(int result);
  int TemplateId() const { return m_templateId; }
  bool HasEnded() const { return m_ended; }
  int Result() const { return m_result; }

  virtual BOOL OnInitDialog();
  // Runs once, right after the window is first on screen: for work the user should see the
  // window for, rather than wait for it.
  virtual void OnFirstShown() {}
  virtual void OnOK();
  virtual void OnCancel();
  bool OnCmdMsg(UINT id, UINT code) override;

 private:
  void CreatePeer();

  int m_templateId;
  CWnd* m_pParentWnd;
  bool m_ended = false;
  int m_result = IDCANCEL;
};
