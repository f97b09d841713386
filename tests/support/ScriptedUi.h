// ScriptedUi: a pretend user for tests. The test queues, in order, every dialog the program will
// show (with what the user does in it), every message box (with its exact text, caption, type
// and the answer) and every file dialog. Anything the program shows that was not queued, or
// shown out of order, fails the test; anything queued and never shown fails it at the end.
// It draws nothing and needs no display.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Backend.h"
#include "Wnd.h"

class ScriptedPeer;

// What the user does inside one dialog, handed to the test's script.
class DialogScript {
 public:
  DialogScript(ScriptedPeer& peer, CWnd& wnd) : m_peer(peer), m_wnd(wnd) {}
  void Type(int id, std::u8string_view text);  // replaces the control's text
  void TypeRaw(int id, const CString& text);   // code page 932 bytes
  void TypeUnconvertible(int id);              // text the code page cannot hold
  void Check(int id, bool checked);
  void Press(int id);                  // a button, or a command
  void Select(int listId, int index);  // a user's selection in a list
  std::string Text(int id) const;      // as UTF-8
  CString Bytes(int id) const;
  int CheckState(int id) const;
  CWnd& Window() { return m_wnd; }
  ScriptedPeer& Peer() { return m_peer; }

 private:
  ScriptedPeer& m_peer;
  CWnd& m_wnd;
};

struct ShownMessage {
  std::string text;  // UTF-8
  std::string caption;
  UINT type;
};

class ScriptedUi : public IBackend {
 public:
  ScriptedUi();
  ~ScriptedUi() override;

  using DialogAction = std::function<void(DialogScript&)>;
  void ExpectDialog(int templateId, DialogAction action);
  void ExpectMessage(std::u8string_view text, std::u8string_view caption, UINT type,
                     int answer = IDOK);
  // The notice: application name as caption, exclamation icon, OK.
  void ExpectNotice(std::u8string_view text);
  // A file dialog; the test's check sees the request. answer empty = Cancel.
  void ExpectFileDialog(bool open, std::optional<CString> answer,
                        std::function<void(const FileDialogRequest&)> check = {});

  // Checks that everything queued was used; also run by the destructor.
  void VerifyAllConsumed();

  // Everything shown, in order: "shown:<id>" (a modal window on screen), "dialog:<id>" (the
  // user's turn in it), "message:<text>", "file:<open|save>",
  // "list-reset", "list-add:<text>", "help", "help-quit".
  const std::vector<std::string>& Events() const { return m_events; }
  void ClearEvents() { m_events.clear(); }
  void Log(std::string event) { m_events.push_back(std::move(event)); }

  std::unique_ptr<IWindowPeer> CreatePeer(const DialogTemplate& tmpl, CWnd& wnd,
                                          CWnd* owner) override;
  int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override;
  bool FileDialog(CWnd* owner, const FileDialogRequest& request, CString& path) override;
  void ShowHelp(CWnd* owner, const CString& text) override;
  void CloseHelp() override;
  int GetSystemMetrics(int index) override {
    return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
  }

  // Runs the next queued dialog script for a modal run of peer; returns its result.
  int RunDialog(ScriptedPeer& peer, CWnd& wnd, int templateId);

 private:
  struct Expectation {
    enum Kind { Dialog, Message, File } kind = Dialog;
    int templateId = 0;
    DialogAction action;
    std::string text, caption;
    UINT type = 0;
    int answer = IDOK;
    bool open = true;
    std::optional<CString> path;
    std::function<void(const FileDialogRequest&)> check;
  };
  std::optional<Expectation> Next(Expectation::Kind kind, const std::string& what);

  std::deque<Expectation> m_queue;
  std::vector<std::string> m_events;
  IBackend* m_previous = nullptr;
  bool m_failed = false;
};
