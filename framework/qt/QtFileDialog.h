// The open and save dialogs: Qt's own file dialog (not the desktop's), so that it speaks the
// program's language through Qt's translation. It chooses a path; it opens no file.
#pragma once

#include <QStringList>

#include "Backend.h"

class QFileDialog;
class QWidget;

// Sets up dialog for request: mode, filters, suffix, proposed name, the current directory.
void PrepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

// The name filter Qt shows for one of the program's (description, pattern) pairs.
QString NameFilter(const CString& description, const CString& pattern);

// A path the user gave, in code page 932: false, after a notice owned by owner, when code page
// 932 cannot hold it.
bool ToProgramPath(QWidget* owner, const QString& path, CString& out);

// True with the chosen path in code page 932; a path that code page 932 cannot hold is
// refused with a notice.
bool RunFileDialog(QWidget* owner, const FileDialogRequest& request, CString& path);
