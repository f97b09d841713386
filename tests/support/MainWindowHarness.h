// MainWindowHarness: the main window run without a modal loop, for tests. It starts the window
// in a given directory (the settings file lies in the current directory at start) and gives the
// test the window's commands and what its controls show.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DictionaryApp.h"
#include "DictionaryDlg.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "TempDir.h"
#include "TestText.h"
#include "VokariResources.h"

class MainWindowHarness {
 public:
  // Changes to dir and, when start is true, runs the window's start-up. Backups go to a folder
  // of the harness's own (BackupRoot), never the user's.
  MainWindowHarness(ScriptedUi& ui, const std::filesystem::path& dir, bool start = true);
  ~MainWindowHarness();

  void Start();
  CDictionaryDlg& Dlg() { return *m_dlg; }
  ScriptedPeer& Peer();
  void Command(UINT id);
  void Select(int index);
  void TypeSearch(std::u8string_view text);
  void TypeInto(int id, std::u8string_view text);
  std::string Text(int id);
  std::vector<std::string> ListItems();
  bool MenuEnabled(UINT id);
  std::string BackupRoot() const;
  // Fills the word book directly, as a loaded file would.
  void SetEntries(std::u8string_view name,
                  const std::vector<std::pair<std::u8string_view, std::u8string_view>>& entries);

 private:
  ScriptedUi& m_ui;
  CDictionaryApp m_app;
  std::unique_ptr<CDictionaryDlg> m_dlg;
  std::filesystem::path m_oldDirectory;
  TempDir m_data;
  std::string m_oldDataHome;
  bool m_hadDataHome = false;
};
