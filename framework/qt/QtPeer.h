// QtPeer: one window of the program on screen, a QDialog built from its dialog template, with
// its menu bar and the Alt+Space menu that stands in for the system menu. It turns the user's
// actions into commands of its CWnd and remembers the exact bytes the program gave each control;
// it makes no decisions of its own (closing, validating and answering are the program's).
#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "Backend.h"
#include "QtDialogUnits.h"
#include "QtPeerDialog.h"

class QListWidget;
class QMenu;
class QMenuBar;
class QtMenuBar;

class QtPeer : public IWindowPeer {
 public:
  // owner: the widget the window is modal to and centred over; null for the main window.
  QtPeer(const DialogTemplate& tmpl, CWnd& wnd, QWidget* owner);
  ~QtPeer() override;

  QDialog* Dialog() const { return m_dialog; }
  QWidget* Client() const { return m_client; }
  QMenuBar* MenuBar() const;
  QMenu* SystemMenu() const { return m_systemMenu; }  // null until an item is appended
  const QtDialogUnits& Units() const { return m_units; }
  // The first control with this ID, or null.
  QWidget* Control(int id) const;
  // Controls in template order.
  QWidget* ControlAt(size_t index) const { return m_controls.at(index).widget; }
  size_t ControlCount() const { return m_controls.size(); }
  void ShowSystemMenu(QPoint globalPos, bool fromKeyboard = false);

  bool GetItemText(int id, CString& text) override;
  void SetItemText(int id, const CString& text) override;
  int GetCheck(int id) override;
  void SetCheck(int id, int state) override;
  void ShowItem(int id, bool show) override;
  void FocusItem(int id) override;

  void ListReset(int id) override;
  int ListAddString(int id, const CString& text) override;
  int ListGetCount(int id) override;
  int ListGetCurSel(int id) override;
  void ListSetCurSel(int id, int index) override;
  CString ListGetText(int id, int index) override;
  void ListSetItemData(int id, int index, INT_PTR data) override;
  INT_PTR ListGetItemData(int id, int index) override;

  bool HasMenu() override { return m_menuBar != nullptr; }
  bool EnableMenuItem(int command, bool enabled) override;
  bool IsMenuItemEnabled(int command) override;
  bool SetMenuItemText(int command, const CString& text) override;
  bool CheckMenuItem(int command, bool checked) override;
  bool IsMenuItemChecked(int command) override;
  bool HasSystemMenu() override;
  void AppendSystemMenuItem(int command, const CString& text) override;

  void SetIcon(HICON icon) override;
  bool IsIconic() override;
  void GetClientSize(int& width, int& height) override;
  void DrawIcon(HICON icon, int x, int y) override;

  int RunModal(std::function<void()> afterFirstShow) override;
  void EndModal(int result) override;

 private:
  // A control and the text the program last gave it, so that an unchanged control gives back
  // exactly those bytes even where the screen's form could not hold them. edited says whether
  // the widget's text has changed since (the user typed, pasted, undid): while it has not, the
  // text is known without asking the widget, and setting the same bytes again is skipped.
  struct ControlState {
    const ControlTemplate* tmpl;
    QWidget* widget;
    bool programText = false;
    bool edited = false;
    CString lastSet;
    QString lastShown;
    // A list box's items as the program gave them, row by row, and their item data. Only the
    // program adds or removes items, so these stay in step with the widget's rows.
    std::vector<CString> items;
    std::vector<INT_PTR> itemData;
  };

  void BuildWindow(QWidget* owner);
  void BuildControls();
  void BuildKeys();
  void WireControl(size_t index);
  void WatchEdits(size_t index);
  void PressDefault();
  ControlState* Find(int id);
  QListWidget* List(int id, ControlState** state = nullptr);

  const DialogTemplate& m_tmpl;
  CWnd& m_wnd;
  QPointer<QtPeerDialog> m_dialog;
  QWidget* m_client = nullptr;
  QtDialogUnits m_units;
  std::unique_ptr<QtMenuBar> m_menuBar;
  QMenu* m_systemMenu = nullptr;
  std::vector<ControlState> m_controls;
  bool m_programSelecting = false;  // list changes made by the program send no notification
};
