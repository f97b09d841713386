// The word list's notifications, menu commands and graying, and the stand-in system menu.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "QtTestSupport.h"
#include "QtText.h"
#include "resource.h"

namespace {

constexpr std::pair<UINT, UINT> kSelChange{IDC_WORD_LIST, LBN_SELCHANGE};

size_t SelChanges(const RecordingDialog& dlg) {
  return static_cast<size_t>(std::count(dlg.commands.begin(), dlg.commands.end(), kSelChange));
}

class WordList : public QtTest {
 protected:
  void SetUp() override {
    dlg.Create();
    ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
    list.Attach(&dlg, IDC_WORD_LIST);
    for (const char* word : {"apple", "banana", "cherry"}) list.AddString(CString(word));
  }
  void TearDown() override { dlg.Qt().Dialog()->hide(); }
  QListWidget* Widget() { return ControlAs<QListWidget>(dlg.Qt(), IDC_WORD_LIST); }

  RecordingDialog dlg{IDD_VOKARI_DIALOG};
  CListBox list;
};

TEST_F(WordList, ProgramCallsSendNoNotification) {
  list.SetCurSel(1);
  EXPECT_EQ(list.GetCurSel(), 1);
  list.SetCurSel(2);
  list.SetCurSel(-1);
  EXPECT_EQ(list.GetCurSel(), LB_ERR);
  list.SetCurSel(0);
  list.ResetContent();  // drops a selection
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.AddString(U8(u8"ねこ")), 0);
  EXPECT_EQ(SelChanges(dlg), 0u);
}

TEST_F(WordList, UserSelectionsSendOneNotificationEach) {
  Widget()->setFocus();
  QTest::keyClick(Widget(), Qt::Key_Down);
  EXPECT_EQ(SelChanges(dlg), 1u);
  EXPECT_EQ(list.GetCurSel(), 0);  // the first arrow selects the first word, not the second
  QTest::keyClick(Widget(), Qt::Key_Down);
  EXPECT_EQ(SelChanges(dlg), 2u);
  EXPECT_EQ(list.GetCurSel(), 1);

  const QRect third = Widget()->visualItemRect(Widget()->item(2));
  QTest::mouseClick(Widget()->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_EQ(SelChanges(dlg), 3u);
  EXPECT_EQ(list.GetCurSel(), 2);
  // Every click is reported, also one on the word already selected.
  QTest::mouseClick(Widget()->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_EQ(SelChanges(dlg), 4u);
  CString text;
  list.GetText(2, text);
  EXPECT_EQ(text, CString("cherry"));
  QTest::mouseDClick(Widget()->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_EQ(std::count(dlg.commands.begin(), dlg.commands.end(),
                       std::pair<UINT, UINT>{IDC_WORD_LIST, LBN_DBLCLK}),
            1);
}

TEST_F(WordList, ItemsKeepTheProgramsBytesAndData) {
  const CString odd("\x87\x90\xFA\x5C\x82");  // would not survive a conversion both ways
  list.ResetContent();
  list.AddString(odd);
  list.AddString(CString("x"));
  EXPECT_EQ(list.SetItemData(1, 42), 0);
  CString back;
  list.GetText(0, back);
  EXPECT_EQ(back.Bytes(), odd.Bytes());
  EXPECT_EQ(list.GetItemData(1), 42);
  EXPECT_EQ(list.GetItemData(0), 0);
  EXPECT_EQ(list.GetItemData(5), LB_ERR);
}

QAction* MenuAction(QtPeer& peer, const QString& text) {
  const QList<QAction*> all = peer.MenuBar()->findChildren<QAction*>();
  for (QAction* a : all)
    if (a->text() == text) return a;
  return nullptr;
}

TEST_F(QtTest, MenuItemsSendTheirCommandsAndGrayByCommandId) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.Create();
  CMenu* menu = dlg.GetMenu();
  ASSERT_NE(menu, nullptr);
  struct Item {
    std::u8string_view text;
    UINT command;
  };
  constexpr std::u8string_view kFold = u8"かなと全角・半角、大文字・小文字を区別しない(&K)";
  const Item items[] = {{u8"新規(&N)", ID_DICT_NEW},
                        {u8"開く(&C)", IDC_OPEN_DICT},
                        {u8"上書き保存(&S)", ID_FILE_SAVE},
                        {u8"終了(&Q)", ID_APP_EXIT},
                        {u8"単語の登録(&A)", ID_WORD_ADD},
                        {u8"単語の削除(&E)", ID_WORD_DELETE},
                        {u8"単語の修正(&C)", ID_WORD_MODIFY},
                        {kFold, ID_SEARCH_FOLD},
                        {u8"意味も検索する(&M)", ID_SEARCH_MEANINGS},
                        {u8"設定(&S)", ID_SETTINGS},
                        {u8"バージョン情報(&V)", ID_VERSION_INFO}};
  for (const Item& item : items) {
    SCOPED_TRACE(item.command);
    QAction* action = MenuAction(dlg.Qt(), qttext::FromU8(item.text));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    dlg.commands.clear();
    action->trigger();
    Settle();  // a command on the bar itself arrives from the event loop
    EXPECT_EQ(dlg.commands, (std::vector<std::pair<UINT, UINT>>{{item.command, BN_CLICKED}}));

    EXPECT_EQ(menu->EnableMenuItem(item.command, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_FALSE(action->isEnabled());
    EXPECT_FALSE(dlg.Peer()->IsMenuItemEnabled(static_cast<int>(item.command)));
    EXPECT_EQ(menu->EnableMenuItem(item.command, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_TRUE(action->isEnabled());
  }
  EXPECT_EQ(menu->EnableMenuItem(4242, MF_GRAYED), static_cast<UINT>(-1));
  // 設定 is an item of the bar itself, not a popup.
  QAction* settings = MenuAction(dlg.Qt(), qttext::FromU8(u8"設定(&S)"));
  EXPECT_EQ(settings->menu(), nullptr);
  EXPECT_TRUE(dlg.Qt().MenuBar()->actions().contains(settings));
  QStringList bar;
  for (QAction* a : dlg.Qt().MenuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, (QStringList{qttext::FromU8(u8"ファイル(&F)"), qttext::FromU8(u8"データ(&D)"),
                              qttext::FromU8(u8"検索(&K)"), qttext::FromU8(u8"設定(&S)"),
                              qttext::FromU8(u8"ヘルプ(&?)")}));

  // The check mark is the program's alone: choosing the item leaves it as it was.
  QAction* fold = MenuAction(dlg.Qt(), qttext::FromU8(kFold));
  EXPECT_EQ(menu->CheckMenuItem(ID_SEARCH_FOLD, MF_CHECKED), MF_UNCHECKED);
  EXPECT_TRUE(fold->isChecked());
  fold->trigger();
  EXPECT_TRUE(fold->isChecked());
  EXPECT_EQ(menu->CheckMenuItem(ID_SEARCH_FOLD, MF_UNCHECKED), MF_CHECKED);
  EXPECT_FALSE(fold->isChecked());
  EXPECT_EQ(menu->CheckMenuItem(4242, MF_CHECKED), static_cast<UINT>(-1));
}

TEST_F(QtTest, SystemMenuItemsOpenFromAltSpaceAndReachOnSysCommand) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.Create();
  CMenu* sys = dlg.GetSystemMenu();
  ASSERT_NE(sys, nullptr);
  sys->AppendMenu(MF_SEPARATOR);
  sys->AppendMenu(MF_STRING, IDM_ABOUTBOX, U8(u8"Vokari のバージョン情報(&A)..."));
  QMenu* menu = dlg.Qt().SystemMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_TRUE(menu->actions()[0]->isSeparator());
  EXPECT_EQ(menu->actions()[1]->text(), qttext::FromU8(u8"Vokari のバージョン情報(&A)..."));

  QDialog* window = dlg.Qt().Dialog();
  ASSERT_NO_FATAL_FAILURE(ShowActive(window));
  QTest::keyClick(window, Qt::Key_Space, Qt::AltModifier);
  EXPECT_TRUE(menu->isVisible());
  // Opened from the keyboard, the first item is ready for Enter.
  EXPECT_EQ(menu->activeAction(), menu->actions()[1]);
  QTest::keyClick(menu, Qt::Key_Return);
  EXPECT_FALSE(menu->isVisible());
  EXPECT_EQ(dlg.sysCommands, std::vector<UINT>{IDM_ABOUTBOX});
  EXPECT_TRUE(dlg.commands.empty());
  window->hide();

  RecordingDialog about(IDD_ABOUTBOX);
  about.Create();
  EXPECT_TRUE(about.Peer()->HasSystemMenu());
  EXPECT_EQ(about.GetMenu(), nullptr);
}

// Alt with a letter presses the window's own control before the menu bar gets it; letters
// only the menu bar has still open its menus, and Alt released first reaches the menu bar.
TEST_F(QtTest, AltLetterReachesTheWindowsControlsBeforeItsMenuBar) {
  struct Case {
    Qt::Key key;
    UINT command;  // 0: no control has the letter
  };
  const Case cases[] = {{Qt::Key_S, IDC_OPEN_DICT},  // also 設定(&S) on the menu bar
                        {Qt::Key_F, IDC_SEARCH},     // also ファイル(&F)
                        {Qt::Key_Q, IDCANCEL},
                        {Qt::Key_D, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    dlg.Create();
    QDialog* window = dlg.Qt().Dialog();
    ASSERT_NO_FATAL_FAILURE(ShowActive(window));
    QWidget* focus = QApplication::focusWidget();
    const QString before = ControlAs<QComboBox>(dlg.Qt(), IDC_SEARCH_TEXT)->currentText();
    QTest::keyClick(focus, c.key, Qt::AltModifier);
    QTest::qWait(250);  // a mnemonic presses its button with a short animation
    if (c.command != 0) {
      EXPECT_EQ(dlg.commands, (std::vector<std::pair<UINT, UINT>>{{c.command, BN_CLICKED}}));
      EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    } else {
      EXPECT_TRUE(dlg.commands.empty());
      QWidget* popup = QApplication::activePopupWidget();
      EXPECT_NE(popup, nullptr);  // データ opened
      if (popup) popup->close();
    }
    // Nothing was typed into the search box on the way.
    EXPECT_EQ(ControlAs<QComboBox>(dlg.Qt(), IDC_SEARCH_TEXT)->currentText(), before);
    window->hide();
  }
}

// In menu mode (Alt pressed and released) a letter goes to the bar's item: a command on the bar
// itself runs at once, once the menu bar has given the focus back, so that a dialog it opens
// returns the focus to the window's control, not to a menu bar still waiting for keys (where
// Escape would no longer close the window); a letter typed with Shift opens its menu as well.
TEST_F(QtTest, MenuModeLettersRunBarCommandsAndOpenMenus) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    UINT command;               // 0: a menu opens
    std::u8string_view active;  // its highlighted item
  };
  const Case cases[] = {{Qt::Key_S, Qt::NoModifier, ID_SETTINGS, u8""},
                        {Qt::Key_Question, Qt::ShiftModifier, 0, u8"バージョン情報(&V)"},
                        {Qt::Key_F, Qt::NoModifier, 0, u8"新規(&N)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    dlg.Create();
    QDialog* window = dlg.Qt().Dialog();
    ASSERT_NO_FATAL_FAILURE(ShowActive(window));
    QWidget* control = QApplication::focusWidget();
    ASSERT_NE(control, nullptr);
    QWidget* focusAtCommand = nullptr;
    dlg.onCommand = [&](UINT, UINT) { focusAtCommand = QApplication::focusWidget(); };
    QTest::keyClick(control, Qt::Key_Alt);  // Alt alone: the menu bar takes the keys
    ASSERT_EQ(QApplication::focusWidget(), dlg.Qt().MenuBar());
    QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
    Settle();
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (c.command) {
      EXPECT_EQ(dlg.commands, (std::vector<std::pair<UINT, UINT>>{{c.command, 0}}));
      EXPECT_EQ(focusAtCommand, control);
      EXPECT_EQ(QApplication::focusWidget(), control);
      EXPECT_EQ(popup, nullptr);
    } else {
      EXPECT_TRUE(dlg.commands.empty());
      ASSERT_NE(popup, nullptr);
      ASSERT_NE(popup->activeAction(), nullptr);
      EXPECT_EQ(popup->activeAction()->text(), qttext::FromU8(c.active));
      popup->close();
    }
    window->hide();
  }
}

}  // namespace
