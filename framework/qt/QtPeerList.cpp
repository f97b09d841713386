// List box operations of QtPeer. The peer keeps the program's own bytes of each item beside
// the text the widget shows, so GetText gives back exactly what AddString was given.
#include <QListWidget>

#include "QtPeer.h"
#include "QtText.h"

namespace {
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

bool InRange(const std::vector<CString>& items, int index) {
  return index >= 0 && static_cast<size_t>(index) < items.size();
}
}  // namespace

QListWidget* QtPeer::List(int id, ControlState** state) {
  ControlState* found = Find(id);
  auto* list = found ? qobject_cast<QListWidget*>(found->widget) : nullptr;
  if (state) *state = list ? found : nullptr;
  return list;
}

void QtPeer::ListReset(int id) {
  ProgramChange change(m_programSelecting);
  ControlState* state = nullptr;
  if (QListWidget* list = List(id, &state)) {
    list->clear();
    state->items.clear();
    state->itemData.clear();
  }
}

int QtPeer::ListAddString(int id, const CString& text) {
  ProgramChange change(m_programSelecting);
  ControlState* state = nullptr;
  QListWidget* list = List(id, &state);
  if (!list) return LB_ERR;
  list->addItem(qttext::FromCp932(text));
  state->items.push_back(text);
  state->itemData.push_back(0);
  return static_cast<int>(state->items.size()) - 1;
}

int QtPeer::ListGetCount(int id) {
  ControlState* state = nullptr;
  return List(id, &state) ? static_cast<int>(state->items.size()) : 0;
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
  ControlState* state = nullptr;
  if (!List(id, &state) || !InRange(state->items, index)) return CString();
  return state->items[static_cast<size_t>(index)];
}

void QtPeer::ListSetItemData(int id, int index, INT_PTR data) {
  ControlState* state = nullptr;
  if (List(id, &state) && InRange(state->items, index))
    state->itemData[static_cast<size_t>(index)] = data;
}

INT_PTR QtPeer::ListGetItemData(int id, int index) {
  ControlState* state = nullptr;
  if (!List(id, &state) || !InRange(state->items, index)) return LB_ERR;
  return state->itemData[static_cast<size_t>(index)];
}
