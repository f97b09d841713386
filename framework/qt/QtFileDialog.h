// The open and save dialogs: Qt's own file dialog (not the desktop's), so that it speaks the
// program's language through Qt's translation and the program's resources whatever the locale.
// It chooses a path; it opens no file.
#pragma once

#include <QFileDialog>
#include <QStringList>

#include "Backend.h"

class QWidget;

class QtFileDialog : public QFileDialog {
 public:
  // Mode, filters, suffix, the proposed name (a pattern such as "*.vkd" stands in the name box
  // and chooses the listing) and the folder it starts in, as request asks.
  QtFileDialog(QWidget* owner, const FileDialogRequest& request);

  // A pattern in the name box lists the files that match it, as on the platform the program
  // was written for, instead of choosing a file of that name.
  void accept() override;
};

// The name filter Qt shows for one of the program's (description, pattern) pairs.
QString NameFilter(const CString& description, const CString& pattern);

// A path the user gave, in code page 932: false, after a notice owned by owner, when code page
// 932 cannot hold it.
bool ToProgramPath(QWidget* owner, const QString& path, CString& out);

// True with the chosen path in code page 932; a path that code page 932 cannot hold is
// refused with a notice.
bool RunFileDialog(QWidget* owner, const FileDialogRequest& request, CString& path);
