// CDictionaryDlg: the main window. It owns the word book, the settings, the one file object
// used by every load and save, and the texts of its controls, and it runs every command of the
// program. It knows whether the book has changes not yet saved and asks before they are dropped.
// It shows nothing itself: all drawing is the backend's.
#pragma once

#include <memory>

#include "BookIndex.h"
#include "Dialog.h"
#include "DictData.h"
#include "DictIo.h"
#include "EditHistory.h"
#include "File.h"
#include "FileStamp.h"
#include "resource.h"

class CDictionaryDlg : public CDialog {
 public:
  explicit CDictionaryDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void OnFirstShown() override;
  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCmdMsg(UINT id, UINT code) override;
  void OnSysCommand(UINT nID) override;
  void OnDestroy() override;
  void OnPaint() override;
  void OnCancel() override;
  HICON OnQueryDragIcon() override;
  void OnDropFiles(const CString& path) override { OpenDroppedFile(path); }

  // Operations shared by the commands.
  void UpdateMenuState();
  void RefreshWordList();
  int LoadDictionary(CString path);
  int SaveDictionary(CString path);
  void ConfirmAndSave();
  void LoadSettings();
  void ReopenAtStart();
  // A file named on the command line: opened at start as File ▸ 開く opens it, instead of the
  // remembered one. An empty path stands for a name that cannot be a path here.
  void OpenAtStart(const CString& path);
  // A file dropped on the window: after the question about unsaved changes, opened as
  // File ▸ 開く opens it.
  void OpenDroppedFile(const CString& path);

  // Command handlers.
  void OnAppAbout();
  void OnOpenDictionary();
  void OnNewDictionary();
  void OnAddWord();
  void OnSelchangeWordList();
  void OnDeleteWord();
  void OnFileSaveAs();
  void OnSettings();
  void OnModifyWord();
  void OnUndo();
  void OnRedo();
  void OnRestore();
  void OnSearchFold();
  void OnSearchMeanings();

  CString m_strIniPath;
  CDictData m_dict;
  int m_bLastFileOpen = 0;
  int m_bIfAddSave = 0;
  int m_bKeepBackups = 1;  // each save keeps the version it replaces
  // The 検索 menu's options, as remembered in the settings file; 0 is off.
  int m_bSearchFold = 0;
  int m_bSearchMeanings = 0;
  CFile m_file;
  CListBox m_listWords;
  CString m_strDictLabel;
  CString m_strShownWord;
  CString m_strShownMeaning;
  CString m_strSearch;
  CString m_strCountLabel;
  HICON m_hIcon;
  // Every add, correction and delete of the book since it was loaded or created.
  EditHistory m_history;
  // The book differs from its file: an entry was added, corrected or deleted since the last
  // load, save or New.
  bool m_bModified = false;

 private:
  void ShowSearchOptions();
  bool MayDropChanges();
  bool SaveBeforeDropping();
  bool ChangedByAnother(const CString& path) const;
  DictIoResult WriteBook(const CString& path, const CDictData& book);
  int SaveBook(const CString& path);
  int MergeAndSave(const CString& path);
  enum class MergeRound { Merged, Again, Failed };
  MergeRound MergeWithFile(const CString& path, int& fromTheirs, int& conflicts);
  void TakeOverMerged(std::unique_ptr<CDictData> merged, BookIndex& theirs,
                      const CFileStamp& stamp);
  void RememberBase(const CString& path);
  void TakeOverSaved(const CString& path);
  void BelongTo(const CString& path);
  void ShowBook();
  void ForgetCurrent();
  bool ReadBook(const CString& path, CDictData& book, UINT openFlags = CFile::modeReadWrite);
  void RollBackCutShortSave(const CString& path);
  void TakeOverLoaded(const CString& path, CDictData& book);
  void TakeOverEntries(CDictData& book);
  void TakeOverRestored(CDictData& book);
  void DropBook();
  bool HasLiveCurrent() const;
  void ShowCount();
  void UpdateUndoItems();
  void ShowStepTaken(int index);

  CString m_strReopenPath;  // read by LoadSettings, reopened once the window shows
  CString m_strStartFile;
  bool m_bStartFileGiven = false;
  CString m_strStampPath;  // the file m_stamp was taken of
  CFileStamp m_stamp;
  // The list holds the result of a search, rather than being empty after a load.
  bool m_bListShowsSearch = false;
  bool m_bBackupFailureTold = false;  // once a run is enough
  bool m_bTellBackupFailure = false;  // by the save that has just written its file
  // The version of the file last loaded or saved, as the base of a merge: the digests of its
  // name and entries, 16 bytes an entry, rather than a second copy of the book.
  BookDigest m_base;
};
