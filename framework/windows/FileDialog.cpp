#include "FileDialog.h"

#include "Cp932.h"
#include "WinApp.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const CString& defExt, const CString& fileName,
                         DWORD flags, const CString& filter, CWnd* parent)
    : m_parent(parent) {
  m_request.open = bOpenFileDialog != FALSE;
  CString ext = defExt;
  if (!ext.IsEmpty() && ext.Bytes()[0] == '.') ext = CString(ext.Bytes().substr(1));
  m_request.defaultExtension = ext;
  m_request.fileName = fileName;
  m_request.flags = flags;
  m_request.filters = ParseFilter(filter);
}

std::vector<std::pair<CString, CString>> CFileDialog::ParseFilter(const CString& filter) {
  std::vector<std::pair<CString, CString>> out;
  const std::string& s = filter.Bytes();
  std::vector<std::string> parts;
  size_t start = 0;
  // '|' (0x7C) can be the trail byte of a double-byte character, so step by characters.
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i < s.size() && cp932::IsLeadByte(static_cast<unsigned char>(s[i]))) {
      ++i;
      continue;
    }
    if (i == s.size() || s[i] == '|') {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    if (!parts[i].empty() || !parts[i + 1].empty()) out.emplace_back(parts[i], parts[i + 1]);
  return out;
}

CString CFileDialog::FolderOf(const CString& path) {
  // '/' is never the trail byte of a double-byte character.
  const size_t slash = path.Bytes().rfind('/');
  if (slash == std::string::npos) return CString();
  return CString(path.Bytes().substr(0, slash == 0 ? 1 : slash));
}

INT_PTR CFileDialog::DoModal() {
  CWinApp* app = AfxGetApp();
  if (m_request.initialDir.IsEmpty() && app) m_request.initialDir = app->m_strLastFileFolder;
  CWnd* owner = m_parent ? m_parent : AfxGetMainWnd();
  if (!AfxGetBackend().FileDialog(owner, m_request, m_path)) return IDCANCEL;
  if (app) app->m_strLastFileFolder = FolderOf(m_path);
  return IDOK;
}
