// List box operations of QtPeer. Each item keeps the program's own bytes beside the text it
// shows, so GetText gives back exactly what AddString was given.
#include <QListWidget>

#include "QtPeer.h"
#include "QtText.h"

namespace {
constexpr int kBytesRole = Qt::UserRole;
constexpr int kDataRole = Qt::UserRole + 1;

// Marks the program's own list changes for the length of a call.
class ProgramChange {
 public:
  explicit ProgramChange(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
  ~ProgramChange() { m_flag = m_was; }
  ProgramChange(const ProgramChange&) = delete;
  ProgramChange& operator=(const ProgramChange&) = delete;

 private:
  bool& m_flag;
  bool m_was;
};
}  // namespace

QListWidget* QtPeer::List(int id) {
  ControlState* state = Find(id);
  return state ? qobject_cast<QListWidget*>(state->widget) : nullptr;
}

void QtPeer::ListReset(int id) {
  ProgramChange change(m_programSelecting);
  if (QListWidget* list = List(id)) list->clear();
}

int QtPeer::ListAddString(int id, const CString& text) {
  ProgramChange change(m_programSelecting);
  QListWidget* list = List(id);
  if (!list) return LB_ERR;
  auto* item = new QListWidgetItem(qttext::FromCp932(text));
  item->setData(kBytesRole, QByteArray::fromStdString(text.Bytes()));
  list->addItem(item);
  return list->count() - 1;
}

int QtPeer::ListGetCount(int id) {
  QListWidget* list = List(id);
  return list ? list->count() : 0;
}

int QtPeer::ListGetCurSel(int id) {
  QListWidget* list = List(id);
  if (!list) return LB_ERR;
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? LB_ERR : list->row(selected.front());
}

void QtPeer::ListSetCurSel(int id, int index) {
  ProgramChange change(m_programSelecting);
  QListWidget* list = List(id);
  if (!list) return;
  if (index < 0 || index >= list->count()) {
    list->clearSelection();
    return;
  }
  list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  list->scrollToItem(list->item(index));
}

CString QtPeer::ListGetText(int id, int index) {
  QListWidget* list = List(id);
  QListWidgetItem* item = list ? list->item(index) : nullptr;
  if (!item) return CString();
  return CString(item->data(kBytesRole).toByteArray().toStdString());
}

void QtPeer::ListSetItemData(int id, int index, INT_PTR data) {
  QListWidget* list = List(id);
  if (QListWidgetItem* item = list ? list->item(index) : nullptr)
    item->setData(kDataRole, QVariant::fromValue<qlonglong>(data));
}

INT_PTR QtPeer::ListGetItemData(int id, int index) {
  QListWidget* list = List(id);
  QListWidgetItem* item = list ? list->item(index) : nullptr;
  if (!item) return LB_ERR;
  return static_cast<INT_PTR>(item->data(kDataRole).toLongLong());
}
