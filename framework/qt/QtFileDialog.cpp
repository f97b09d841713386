#include "QtFileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

#include "NativePath.h"
#include "QtFileList.h"
#include "QtText.h"
#include "WinApp.h"

namespace {

bool IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// The patterns of a Qt name filter: what stands in its last parentheses, or all of it.
QString PatternsOf(const QString& filter) {
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  if (open < 0 || !filter.endsWith(QLatin1Char(')'))) return filter.trimmed();
  return filter.mid(open + 1, filter.size() - open - 2).trimmed();
}

// The filter of filters that lists exactly pattern; one is added in front when none does.
QString FilterFor(QStringList& filters, const QString& pattern) {
  for (const QString& filter : filters)
    if (PatternsOf(filter) == pattern) return filter;
  filters.prepend(pattern);
  return pattern;
}

QString StartFolder(const FileDialogRequest& request) {
  const QString folder = qttext::FromCp932(request.initialDir);
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::currentPath();
}

QLineEdit* NameBox(QFileDialog& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
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

QtFileDialog::QtFileDialog(QWidget* owner, const FileDialogRequest& request) : QFileDialog(owner) {
  setOption(QFileDialog::DontUseNativeDialog, true);
  ShowDetailsInDefaultLocale(*this);
  setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  // An open dialog takes any name; a missing file is the program's to report.
  setFileMode(QFileDialog::AnyFile);
  setOption(QFileDialog::DontConfirmOverwrite,
            request.open || !(request.flags & OFN_OVERWRITEPROMPT));
  setDirectory(StartFolder(request));
  if (!request.defaultExtension.IsEmpty())
    setDefaultSuffix(qttext::FromCp932(request.defaultExtension));

  QStringList filters;
  for (const auto& [description, pattern] : request.filters)
    filters << NameFilter(description, pattern);
  const QString name = qttext::FromCp932(request.fileName);
  const QString selected = IsPattern(name) ? FilterFor(filters, name) : QString();
  if (!filters.isEmpty()) setNameFilters(filters);
  if (!selected.isEmpty()) selectNameFilter(selected);
  if (!name.isEmpty()) selectFile(name);
}

void QtFileDialog::accept() {
  QLineEdit* box = NameBox(*this);
  const QString typed = box ? box->text().trimmed() : QString();
  if (!IsPattern(typed)) {
    QFileDialog::accept();
    return;
  }
  // "folder/*.txt" goes to the folder too.
  QString pattern = typed;
  const qsizetype slash = typed.lastIndexOf(QLatin1Char('/'));
  if (slash >= 0) {
    setDirectory(directory().absoluteFilePath(typed.left(slash + 1)));
    pattern = typed.mid(slash + 1);
  }
  QStringList filters = nameFilters();
  const QString chosen = FilterFor(filters, pattern);
  setNameFilters(filters);
  selectNameFilter(chosen);
  box->setText(pattern);
}

bool RunFileDialog(QWidget* owner, const FileDialogRequest& request, CString& path) {
  QtFileDialog dialog(owner, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  return ToProgramPath(owner, QDir::toNativeSeparators(dialog.selectedFiles().front()), path);
}

// The name must come back from code page 932 as the very file chosen: 〜 would turn into ～.
bool ToProgramPath(QWidget* owner, const QString& path, CString& out) {
  const QByteArray native = path.toUtf8();
  std::optional<CString> bytes =
      FromNativePath(std::string_view(native.constData(), static_cast<size_t>(native.size())));
  if (!bytes) {
    QMessageBox::warning(owner, qttext::FromCp932(AfxGetAppName()),
                         qttext::FromResource(AFX_IDP_FILE_NAME_CHARS) + path);
    return false;
  }
  out = std::move(*bytes);
  return true;
}
