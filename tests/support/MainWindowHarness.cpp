#include "MainWindowHarness.h"

#include <cstdlib>

#include "BackupFolder.h"

MainWindowHarness::MainWindowHarness(ScriptedUi& ui, const std::filesystem::path& dir, bool start)
    : m_ui(ui), m_oldDirectory(std::filesystem::current_path()) {
  if (const char* old = std::getenv("XDG_DATA_HOME")) {
    m_oldDataHome = old;
    m_hadDataHome = true;
  }
  setenv("XDG_DATA_HOME", m_data.path().c_str(), 1);
  RegisterVokariResources();
  m_dlg = std::make_unique<CDictionaryDlg>();
  std::filesystem::current_path(dir);
  m_app.m_pMainWnd = m_dlg.get();
  if (start) Start();
}

MainWindowHarness::~MainWindowHarness() {
  m_app.m_pMainWnd = nullptr;
  m_dlg.reset();
  std::filesystem::current_path(m_oldDirectory);
  if (m_hadDataHome)
    setenv("XDG_DATA_HOME", m_oldDataHome.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

std::string MainWindowHarness::BackupRoot() const {
  return backupfolder::Root();
}

void MainWindowHarness::Start() {
  m_dlg->Create();
}

ScriptedPeer& MainWindowHarness::Peer() {
  return *static_cast<ScriptedPeer*>(m_dlg->Peer());
}

void MainWindowHarness::Command(UINT id) {
  m_dlg->DispatchCommand(id);
}

void MainWindowHarness::Select(int index) {
  Peer().ListSetCurSel(IDC_WORD_LIST, index);
  m_dlg->DispatchCommand(IDC_WORD_LIST, LBN_SELCHANGE);
}

void MainWindowHarness::TypeSearch(std::u8string_view text) {
  TypeInto(IDC_SEARCH_TEXT, text);
}

void MainWindowHarness::TypeInto(int id, std::u8string_view text) {
  Peer().SetItemText(id, CString::FromU8(text));
}

std::string MainWindowHarness::Text(int id) {
  return Peer().At(id).text.ToUtf8();
}

std::vector<std::string> MainWindowHarness::ListItems() {
  std::vector<std::string> out;
  for (const auto& item : Peer().At(IDC_WORD_LIST).items) out.push_back(item.first.ToUtf8());
  return out;
}

bool MainWindowHarness::MenuEnabled(UINT id) {
  return Peer().IsMenuItemEnabled(static_cast<int>(id));
}

void MainWindowHarness::SetEntries(
    std::u8string_view name,
    const std::vector<std::pair<std::u8string_view, std::u8string_view>>& entries) {
  CDictData& d = m_dlg->m_dict;
  d.m_strName = CString::FromU8(name);
  d.m_nCount = static_cast<int>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    d.m_strWord[i] = CString::FromU8(entries[i].first);
    d.m_strMeaning[i] = CString::FromU8(entries[i].second);
  }
}
