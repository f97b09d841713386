// What the Qt backend tests share: one offscreen QApplication set up as the program sets up its
// own, the program's resources and the Qt backend, a small application object, and a dialog
// that records the commands its window sends instead of acting on them.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "Dialog.h"
#include "QtBackend.h"
#include "QtPeer.h"
#include "WinApp.h"

class QtTest : public ::testing::Test {
 protected:
  static QtBackend& Backend();
};

// Any QWidget-derived control of the peer, cast to what the test expects.
template <class W>
W* ControlAs(const QtPeer& peer, int id) {
  return qobject_cast<W*>(peer.Control(id));
}

// Records every command; IDCANCEL and IDOK take the framework's path only when asked to.
class RecordingDialog : public CDialog {
 public:
  explicit RecordingDialog(int templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

  std::vector<std::pair<UINT, UINT>> commands;
  std::vector<UINT> sysCommands;
  std::vector<CString> droppedFiles;
  bool endOnOkCancel = false;
  std::function<void(UINT id, UINT code)> onCommand;  // called after recording
  // Text members bound to controls by DDX_Text, and check boxes by DDX_Check.
  std::vector<std::pair<int, CString>> texts;
  std::vector<std::pair<int, int>> checks;

  QtPeer& Qt() const { return *dynamic_cast<QtPeer*>(Peer()); }
  bool OnCmdMsg(UINT id, UINT code) override;
  void OnSysCommand(UINT id) override { sysCommands.push_back(id); }
  void OnDropFiles(const CString& path) override { droppedFiles.push_back(path); }
  void DoDataExchange(CDataExchange* pDX) override;
  CString& Text(int id);
  bool Received(UINT id, UINT code = BN_CLICKED) const;
};

// Runs action, from a timer, once a modal window other than the one active now (a message
// box, a dialog) is up, and gives it that window.
void WhenModal(std::function<void(QWidget*)> action);

// Types text into w the way an input method commits it (how Japanese text arrives).
void Type(QWidget* w, const QString& text);

// Shows the window and makes it the active one, so that keys go where the focus is. Call it
// inside ASSERT_NO_FATAL_FAILURE.
void ShowActive(QWidget* window);

// Lets queued events (painting, deferred deletes) run.
void Settle();
