#include "QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "QtText.h"
#include "WinApp.h"

namespace {
bool IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}
}  // namespace

QString NameFilter(const CString& description, const CString& pattern) {
  const QString text = qttext::FromCp932(description);
  // The program's patterns are separated by ';', Qt's by blanks.
  QString patterns = qttext::FromCp932(pattern);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
  if (text.endsWith(shown)) return text;  // the description already names its pattern
  return text.isEmpty() ? shown : text + QLatin1Char(' ') + shown;
}

void PrepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  // An open dialog takes any name; a missing file is the program's to report.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite,
                   request.open || !(request.flags & OFN_OVERWRITEPROMPT));
  dialog.setDirectory(QDir::currentPath());
  if (!request.defaultExtension.IsEmpty())
    dialog.setDefaultSuffix(qttext::FromCp932(request.defaultExtension));

  QStringList filters;
  for (const auto& [description, pattern] : request.filters)
    filters << NameFilter(description, pattern);
  const QString name = qttext::FromCp932(request.fileName);
  // A proposed name like "*.txt" is a filter for the listing, not a file name.
  QString selected;
  if (IsPattern(name)) {
    for (int i = 0; i < static_cast<int>(request.filters.size()) && selected.isEmpty(); ++i)
      if (qttext::FromCp932(request.filters[static_cast<size_t>(i)].second) == name)
        selected = filters[i];
    if (selected.isEmpty()) filters.prepend(selected = name);
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!selected.isEmpty()) dialog.selectNameFilter(selected);
  if (!name.isEmpty() && !IsPattern(name)) dialog.selectFile(name);
}

bool RunFileDialog(QWidget* owner, const FileDialogRequest& request, CString& path) {
  QFileDialog dialog(owner);
  PrepareFileDialog(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  return ToProgramPath(owner, QDir::toNativeSeparators(dialog.selectedFiles().front()), path);
}

bool ToProgramPath(QWidget* owner, const QString& path, CString& out) {
  std::optional<CString> bytes = qttext::ToCp932(path);
  if (!bytes) {
    QMessageBox::warning(owner, qttext::FromCp932(AfxGetAppName()),
                         qttext::FromResource(AFX_IDP_FILE_NAME_CHARS) + path);
    return false;
  }
  out = std::move(*bytes);
  return true;
}
