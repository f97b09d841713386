// File ▸ 以前の版を開く: one of the versions that the dictionary's saves kept is opened as the
// book, still belonging to the dictionary's own file, so that a save writes it back.
#include <time.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "BackupFolder.h"
#include "DictionaryDlg.h"
#include "KeptVersions.h"
#include "Messages.h"
#include "NativePath.h"
#include "SecondaryDialogs.h"
#include "WinApp.h"

namespace {

// When the version was kept, in local time: "2026/12/08 15:03:03".
CString KeptAt(std::int64_t timeMs) {
  const time_t seconds = static_cast<time_t>(timeMs / 1000);
  struct tm local {};
  localtime_r(&seconds, &local);
  char text[32];
  strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
  return CString(text);
}

// The size as the list shows it: in bytes below 1 KB, then "2.5 KB", "12 KB", "3.1 MB".
CString SizeText(std::uint64_t bytes) {
  if (bytes < 1024) {
    CString text;
    text.Format(U8(msg::kVersionBytes), CString(std::to_string(bytes)));
    return text;
  }
  double size = static_cast<double>(bytes) / 1024;
  const char* unit = "KB";
  if (size >= 1024) {
    size /= 1024;
    unit = "MB";
  }
  char text[32];
  std::snprintf(text, sizeof text, size < 10 ? "%.1f %s" : "%.0f %s", size, unit);
  return CString(text);
}

CRestoreDlg::Row RowOf(const KeptVersion& v) {
  CRestoreDlg::Row row;
  const CString at = KeptAt(v.backup.timeMs);
  const CString size = SizeText(v.backup.size);
  if (v.verdict.ok()) {
    row.text.Format(U8(msg::kVersionSound), at, v.count, size);
  } else if (v.verdict.kind == DictIoResult::CannotOpen) {
    row.text.Format(U8(msg::kVersionUnreadable), at, size);
    row.whyNot = U8(msg::kCannotOpen);
  } else {
    row.text.Format(U8(msg::kVersionDamaged), at, size);
    row.whyNot = U8(msg::kVersionCannotOpen);
  }
  return row;
}

// The versions kept of the file at path, newest first.
std::vector<KeptVersion> VersionsOf(const CString& path) {
  const std::optional<std::string> file = ToNativePath(path);
  return file ? ListKeptVersions(backupfolder::Root(), *file) : std::vector<KeptVersion>();
}

}  // namespace

void CDictionaryDlg::OnRestore() {
  if (m_dict.m_strPath.IsEmpty()) return;
  std::vector<KeptVersion> versions = VersionsOf(m_dict.m_strPath);
  if (versions.empty()) {
    AfxMessageBox(U8(m_bKeepBackups ? msg::kNoVersions : msg::kNoVersionsKept));
    return;
  }
  const bool hadChanges = m_bModified;
  if (!MayDropChanges()) return;
  // Changes saved just now have made a version of their own.
  if (hadChanges) versions = VersionsOf(m_dict.m_strPath);
  CRestoreDlg dlg(this);
  for (const KeptVersion& v : versions) dlg.m_rows.push_back(RowOf(v));
  if (dlg.DoModal() != IDOK) return;
  const std::optional<CString> chosen = FromNativePath(versions[dlg.m_nChosen].backup.path);
  auto book = std::make_unique<CDictData>();
  if (!chosen || !ReadBook(*chosen, *book, CFile::modeRead)) return;
  TakeOverRestored(*book);
}

// The version read replaces the book, which keeps its file: that file, as last loaded or
// saved, stays the base of a merge, and the book differs from it until it is saved. The list
// shows the version's words at once, as after a merge, rather than staying empty as after a
// load: the user chose this book from a list and looks for what it holds.
void CDictionaryDlg::TakeOverRestored(CDictData& book) {
  const CString path = m_dict.m_strPath;
  TakeOverEntries(book);
  m_dict.m_strPath = path;
  ShowBook();
  // No step before it applies to this book, and no point of its history is on disk.
  m_history.Reset(false);
  m_bModified = true;
  RefreshWordList();
}
