#include "QtFileList.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>
#include <algorithm>

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

// Room for each detail column's header and its longest value, which are longer in Japanese
// than Qt's columns expect.
void MakeRoomForDetails(QTreeView& view) {
  const QLocale locale;
  const QFontMetrics metrics = view.fontMetrics();
  QString longest[] = {
      QString(),
      locale.formattedDataSize(1023) + QLatin1Char('0'),
      locale.formattedDataSize(qint64(999) * 1024 * 1024 + 1000 * 1000),
      locale.toString(QDateTime({2000, 12, 31}, {23, 59}), QLocale::ShortFormat),
  };
  // The type column: a file type as Qt names it, or a folder.
  longest[kType] = QCoreApplication::translate("QAbstractFileIconProvider", "%1 File")
                       .arg(QStringLiteral("json"));
  const QString folder = qttext::FromResource(AFX_IDS_FILE_FOLDER);
  if (longest[kType].size() < folder.size()) longest[kType] = folder;
  const int margin = metrics.averageCharWidth() * 3;
  QHeaderView* header = view.header();
  for (int column : {kSize, kType, kDate}) {
    const QString title =
        view.model() ? view.model()->headerData(column, Qt::Horizontal).toString() : QString();
    int width = metrics.horizontalAdvance(title);
    if (!longest[column].isEmpty())
      width = std::max(width, metrics.horizontalAdvance(longest[column]));
    header->resizeSection(column, std::max(header->sectionSize(column), width + margin));
  }
}

}  // namespace

void ShowDetailsInDefaultLocale(QFileDialog& dialog) {
  dialog.setProxyModel(new DetailsInDefaultLocale(&dialog));
  dialog.setLocale(QLocale());
  if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
    MakeRoomForDetails(*view);
}
