#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include "ScriptedPeer.h"
#include "TestText.h"

void DialogScript::Type(int id, std::u8string_view text) {
  CString bytes;
  if (!CString::FromUtf8(Utf8(text), bytes)) {
    TypeUnconvertible(id);
    return;
  }
  TypeRaw(id, bytes);
}

void DialogScript::TypeRaw(int id, const CString& text) {
  m_peer.SetItemText(id, text);
}

void DialogScript::TypeUnconvertible(int id) {
  m_peer.At(id).text = CString("?");
  m_peer.At(id).unconvertible = true;
}

void DialogScript::Check(int id, bool checked) {
  m_peer.At(id).check = checked ? 1 : 0;
}
void DialogScript::Press(int id) {
  m_wnd.DispatchCommand(static_cast<UINT>(id));
}

void DialogScript::Select(int listId, int index) {
  m_peer.ListSetCurSel(listId, index);
  m_wnd.DispatchCommand(static_cast<UINT>(listId), LBN_SELCHANGE);
}

std::string DialogScript::Text(int id) const {
  return m_peer.At(id).text.ToUtf8();
}
CString DialogScript::Bytes(int id) const {
  return m_peer.At(id).text;
}
int DialogScript::CheckState(int id) const {
  return m_peer.At(id).check;
}

ScriptedUi::ScriptedUi() {
  m_previous = nullptr;
  AfxSetBackend(this);
}

ScriptedUi::~ScriptedUi() {
  VerifyAllConsumed();
  AfxSetBackend(nullptr);
}

void ScriptedUi::ExpectDialog(int templateId, DialogAction action) {
  Expectation e;
  e.kind = Expectation::Dialog;
  e.templateId = templateId;
  e.action = std::move(action);
  m_queue.push_back(std::move(e));
}

void ScriptedUi::ExpectMessage(std::u8string_view text, std::u8string_view caption, UINT type,
                               int answer) {
  Expectation e;
  e.kind = Expectation::Message;
  e.text = Utf8(text);
  e.caption = Utf8(caption);
  e.type = type;
  e.answer = answer;
  m_queue.push_back(std::move(e));
}

void ScriptedUi::ExpectNotice(std::u8string_view text) {
  ExpectMessage(text, u8"Vokari", MB_OK | MB_ICONEXCLAMATION, IDOK);
}

void ScriptedUi::ExpectFileDialog(bool open, std::optional<CString> answer,
                                  std::function<void(const FileDialogRequest&)> check) {
  Expectation e;
  e.kind = Expectation::File;
  e.open = open;
  e.path = std::move(answer);
  e.check = std::move(check);
  m_queue.push_back(std::move(e));
}

void ScriptedUi::VerifyAllConsumed() {
  for (const Expectation& e : m_queue) {
    switch (e.kind) {
      case Expectation::Dialog:
        ADD_FAILURE() << "expected dialog " << e.templateId << " was never shown";
        break;
      case Expectation::Message:
        ADD_FAILURE() << "expected message was never shown: " << e.text;
        break;
      case Expectation::File:
        ADD_FAILURE() << "expected file dialog was never shown";
        break;
    }
  }
  m_queue.clear();
}

std::optional<ScriptedUi::Expectation> ScriptedUi::Next(Expectation::Kind kind,
                                                        const std::string& what) {
  if (m_queue.empty()) {
    ADD_FAILURE() << "unexpected " << what << " (nothing more was expected)";
    return std::nullopt;
  }
  if (m_queue.front().kind != kind) {
    const Expectation& e = m_queue.front();
    ADD_FAILURE() << "unexpected " << what << "; expected "
                  << (e.kind == Expectation::Dialog    ? "dialog " + std::to_string(e.templateId)
                      : e.kind == Expectation::Message ? "message: " + e.text
                                                       : std::string("a file dialog"));
    return std::nullopt;
  }
  Expectation e = std::move(m_queue.front());
  m_queue.pop_front();
  return e;
}

std::unique_ptr<IWindowPeer> ScriptedUi::CreatePeer(const DialogTemplate& tmpl, CWnd& wnd, CWnd*) {
  return std::make_unique<ScriptedPeer>(*this, tmpl, wnd);
}

int ScriptedUi::RunDialog(ScriptedPeer& peer, CWnd& wnd, int templateId) {
  Log("dialog:" + std::to_string(templateId));
  auto e = Next(Expectation::Dialog, "dialog " + std::to_string(templateId));
  if (!e) return IDCANCEL;
  EXPECT_EQ(e->templateId, templateId) << "a different dialog was shown";
  if (e->templateId != templateId) return IDCANCEL;
  DialogScript script(peer, wnd);
  if (e->action) e->action(script);
  if (!peer.Ended()) {
    ADD_FAILURE() << "dialog " << templateId << " was left open by its script";
    return IDCANCEL;
  }
  return peer.Result();
}

int ScriptedUi::MessageBox(CWnd*, const CString& text, const CString& caption, UINT type) {
  const std::string t = text.ToUtf8();
  const std::string c = caption.ToUtf8();
  Log("message:" + t);
  auto e = Next(Expectation::Message, "message \"" + t + "\"");
  if (!e) return IDCANCEL;
  EXPECT_EQ(e->text, t);
  EXPECT_EQ(e->caption, c) << "caption of \"" << t << "\"";
  EXPECT_EQ(e->type, type) << "type of \"" << t << "\"";
  return e->answer;
}

bool ScriptedUi::FileDialog(CWnd*, const FileDialogRequest& request, CString& path) {
  Log(request.open ? "file:open" : "file:save");
  auto e = Next(Expectation::File, request.open ? "open dialog" : "save dialog");
  if (!e) return false;
  EXPECT_EQ(e->open, request.open);
  if (e->check) e->check(request);
  if (!e->path) return false;
  path = *e->path;
  return true;
}

void ScriptedUi::ShowHelp(CWnd*, const CString& text) {
  EXPECT_FALSE(text.IsEmpty()) << "the help window has no text";
  Log("help");
}

void ScriptedUi::CloseHelp() {
  Log("help-quit");
}
