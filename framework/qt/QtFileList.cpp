#include "QtFileList.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

#include "AfxRes.h"
#include "QtText.h"

namespace {

// The columns of QFileSystemModel.
enum Column { kName, kSize, kType, kDate };

class DetailsInDefaultLocale : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || index.column() == kName)
      return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const QLocale locale;
    switch (index.column()) {
      case kSize:
        return files->isDir(source) ? QString() : locale.formattedDataSize(files->size(source));
      case kType:
        // Qt's own translation lacks the word for a folder.
        if (files->isDir(source)) {
          const QString folder = qttext::FromResource(AFX_IDS_FILE_FOLDER);
          if (!folder.isEmpty()) return folder;
        }
        break;
      case kDate:
        return locale.toString(files->lastModified(source), QLocale::ShortFormat);
      default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
  }
};

}  // namespace

void ShowDetailsInDefaultLocale(QFileDialog& dialog) {
  dialog.setProxyModel(new DetailsInDefaultLocale(&dialog));
  dialog.setLocale(QLocale());
  // Room for a whole date, which is longer here than Qt's column expects.
  if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    const QString longest =
        QLocale().toString(QDateTime({2000, 12, 31}, {23, 59}), QLocale::ShortFormat);
    const int margin = view->fontMetrics().averageCharWidth() * 3;
    view->header()->resizeSection(kDate, view->fontMetrics().horizontalAdvance(longest) + margin);
  }
}
