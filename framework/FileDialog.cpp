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

INT_PTR CFileDialog::DoModal() {
  CWnd* owner = m_parent ? m_parent : AfxGetMainWnd();
  return AfxGetBackend().FileDialog(owner, m_request, m_path) ? IDOK : IDCANCEL;
}
