#include "QtPeer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "QtControls.h"
#include "QtFileDrop.h"
#include "QtKeys.h"
#include "QtMenus.h"
#include "QtMnemonics.h"
#include "QtText.h"
#include "Wnd.h"

using namespace style;

namespace {

// Remembers, at each mouse press on a list, which item was selected before the press changed
// anything.
class SelectedItemPress : public QObject {
 public:
  explicit SelectedItemPress(QListWidget* list) : QObject(list), m_list(list) {
    list->viewport()->installEventFilter(this);
  }
  bool WasSelectedAtPress(QListWidgetItem* item) const {
    return item && item == m_selectedAtPress && item->isSelected();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto selected = m_list->selectedItems();
      m_selectedAtPress = selected.isEmpty() ? nullptr : selected.front();
    }
    return false;
  }

 private:
  QListWidget* m_list;
  QListWidgetItem* m_selectedAtPress = nullptr;
};

// The client area: where the controls sit at their template positions, whatever the window's
// size. Its size hint is the template's size.
class ClientArea : public QFrame {
 public:
  ClientArea(QWidget* parent, QSize size) : QFrame(parent), m_size(size) {}
  QSize sizeHint() const override { return m_size; }

 private:
  QSize m_size;
};

Qt::WindowFlags FlagsFor(const DialogTemplate& tmpl, bool owned) {
  Qt::WindowFlags flags = owned ? Qt::Dialog : Qt::Window;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  if (tmpl.styles & SystemMenu) flags |= Qt::WindowSystemMenuHint;
  if (tmpl.styles & MinimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  return flags;
}

}  // namespace

QtPeer::QtPeer(const DialogTemplate& tmpl, CWnd& wnd, QWidget* owner)
    : m_tmpl(tmpl), m_wnd(wnd), m_units(DialogFont(tmpl), &tmpl) {
  InstallControlMnemonicsFirst();
  BuildWindow(owner);
  BuildControls();
  BuildKeys();
  new QtFileDrop(m_dialog, m_wnd);
}

void QtPeer::BuildKeys() {
  const AcceleratorTable* keys = AfxFindAccelerators(m_tmpl.id);
  if (!keys) return;
  InstallAccelerators(
      *keys,
      {m_dialog, [this](int id) { return Control(id); },
       [this](int command) { return m_menuBar ? m_menuBar->Find(command) : nullptr; },
       [this](int command) { m_wnd.DispatchCommand(command); }, [this](int id) { FocusItem(id); }});
}

QtPeer::~QtPeer() {
  m_programSelecting = true;
  delete m_dialog.data();
}

void QtPeer::BuildWindow(QWidget* owner) {
  m_dialog = new QtPeerDialog(owner, FlagsFor(m_tmpl, owner != nullptr));
  m_dialog->setFont(DialogFont(m_tmpl));
  m_dialog->setWindowTitle(qttext::FromU8(m_tmpl.caption));
  m_dialog->setModal(true);
  m_dialog->onCancel = [this] { m_wnd.DispatchCommand(IDCANCEL); };
  m_dialog->onDefault = [this] { PressDefault(); };

  auto* layout = new QVBoxLayout(m_dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (const MenuTemplate* menu = m_tmpl.menuId ? AfxFindMenu(m_tmpl.menuId) : nullptr) {
    m_menuBar = std::make_unique<QtMenuBar>(
        *menu, m_dialog, [this](int command) { m_wnd.DispatchCommand(command); });
    layout->setMenuBar(m_menuBar->Widget());
  }
  auto* client = new ClientArea(m_dialog, QSize(m_units.X(m_tmpl.cx), m_units.Y(m_tmpl.cy)));
  if (m_tmpl.styles & ClientEdge) client->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  client->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(client, &QWidget::customContextMenuRequested, client,
                   [this, client](QPoint pos) { ShowSystemMenu(client->mapToGlobal(pos)); });
  layout->addWidget(client);
  m_client = client;
  // Only the main window may be resized; the controls stay where the template puts them.
  if (!(m_tmpl.styles & Resizable)) layout->setSizeConstraint(QLayout::SetFixedSize);
  m_dialog->resize(m_dialog->sizeHint());
}

void QtPeer::BuildControls() {
  std::vector<QWidget*> widgets;
  for (const ControlTemplate& c : m_tmpl.controls) {
    QWidget* widget = CreateControl(c, m_client, m_units);
    widgets.push_back(widget);
    m_controls.push_back(ControlState{&c, widget, false, false, CString(), QString(), {}, {}});
  }
  LinkBuddiesAndTabOrder(m_tmpl.controls, widgets);
  NameForScreenReaders(m_tmpl.controls, widgets);
  for (size_t i = 0; i < m_controls.size(); ++i) WireControl(i);
}

void QtPeer::WireControl(size_t index) {
  ControlState& state = m_controls[index];
  const ControlTemplate& c = *state.tmpl;
  const UINT id = static_cast<UINT>(c.id);
  if (auto* button = qobject_cast<QAbstractButton*>(state.widget)) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [this, id] { m_wnd.DispatchCommand(id); });
  }
  if (auto* list = qobject_cast<QListWidget*>(state.widget)) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, id] {
      if (!m_programSelecting) m_wnd.DispatchCommand(id, LBN_SELCHANGE);
    });
    // The list reports every click, also on the item already selected (Qt itself reports only
    // changes), so that clicking the selected word shows its entry again.
    auto* watcher = new SelectedItemPress(list);
    QObject::connect(list, &QListWidget::itemClicked, list,
                     [this, id, watcher](QListWidgetItem* item) {
                       if (watcher->WasSelectedAtPress(item))
                         m_wnd.DispatchCommand(id, LBN_SELCHANGE);
                     });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [this, id] { m_wnd.DispatchCommand(id, LBN_DBLCLK); });
  }
  if (c.kind != ControlKind::Static && c.kind != ControlKind::Icon)
    m_dialog->WatchEnter(state.widget, (c.styles & MultiLine) != 0);
  WatchEdits(index);
}

// Every change of an editable control's text, whoever makes it, marks the control edited;
// SetItemText clears the mark after its own change. Labels and buttons only change through
// the program.
void QtPeer::WatchEdits(size_t index) {
  QWidget* widget = m_controls[index].widget;
  const auto mark = [this, index] { m_controls[index].edited = true; };
  if (auto* line = qobject_cast<QLineEdit*>(widget))
    QObject::connect(line, &QLineEdit::textChanged, line, mark);
  else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
    QObject::connect(text, &QPlainTextEdit::textChanged, text, mark);
  else if (auto* combo = qobject_cast<QComboBox*>(widget))
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, mark);
}

// Enter outside multi-line edits: the default button's command, or IDOK when the template
// names no default button.
void QtPeer::PressDefault() {
  for (const ControlState& state : m_controls) {
    if (!(state.tmpl->styles & DefaultButton)) continue;
    if (state.widget->isEnabled()) m_wnd.DispatchCommand(static_cast<UINT>(state.tmpl->id));
    return;
  }
  m_wnd.DispatchCommand(IDOK);
}

QtPeer::ControlState* QtPeer::Find(int id) {
  for (ControlState& state : m_controls)
    if (state.tmpl->id == id) return &state;
  return nullptr;
}

QWidget* QtPeer::Control(int id) const {
  for (const ControlState& state : m_controls)
    if (state.tmpl->id == id) return state.widget;
  return nullptr;
}

QMenuBar* QtPeer::MenuBar() const {
  return m_menuBar ? m_menuBar->Widget() : nullptr;
}

void QtPeer::ShowItem(int id, bool show) {
  if (ControlState* state = Find(id)) state->widget->setVisible(show);
}

void QtPeer::FocusItem(int id) {
  ControlState* state = Find(id);
  if (!state) return;
  state->widget->setFocus(Qt::OtherFocusReason);
  // As after a failed data exchange: the whole text is selected, ready to be typed over.
  if (auto* line = qobject_cast<QLineEdit*>(state->widget)) line->selectAll();
  if (auto* text = qobject_cast<QPlainTextEdit*>(state->widget)) text->selectAll();
  if (auto* combo = qobject_cast<QComboBox*>(state->widget); combo && combo->lineEdit())
    combo->lineEdit()->selectAll();
}

int QtPeer::RunModal(std::function<void()> afterFirstShow) {
  m_dialog->afterFirstPaint = std::move(afterFirstShow);
  if (!m_dialog->parentWidget()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = m_dialog->frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      m_dialog->move(frame.topLeft());
    }
  }
  return m_dialog->exec();
}

void QtPeer::EndModal(int result) {
  if (m_dialog) m_dialog->done(result);
}
