// Enter, Escape, Tab and the close box, and the modal loop they end.
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "QtTestSupport.h"
#include "QtText.h"
#include "resource.h"

namespace {

// Gives control the focus and presses key where the focus then is, as a user would.
void PressIn(QWidget* control, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  control->setFocus(Qt::TabFocusReason);
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : control;
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

TEST_F(QtTest, EnterRunsTheDefaultButtonExceptInTheMeaningEdit) {
  struct Case {
    int control;
    int key;
    UINT expected;  // 0: no command
  };
  const Case cases[] = {
      {IDC_SEARCH_TEXT, Qt::Key_Return, IDC_SEARCH},
      {IDC_WORD_LIST, Qt::Key_Return, IDC_SEARCH},
      {IDC_SHOWN_WORD, Qt::Key_Return, IDC_SEARCH},
      {IDC_SHOWN_WORD, Qt::Key_Enter, IDC_SEARCH},
      {IDC_SHOWN_MEANING, Qt::Key_Return, 0},
      // A focused push button takes Enter itself.
      {IDC_OPEN_DICT, Qt::Key_Return, IDC_OPEN_DICT},
      {IDCANCEL, Qt::Key_Return, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.control << " key " << c.key);
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    dlg.Create();
    ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
    dlg.Qt().ListAddString(IDC_WORD_LIST, CString("cat"));
    PressIn(dlg.Qt().Control(c.control), c.key);
    std::vector<std::pair<UINT, UINT>> expected;
    if (c.expected) expected.emplace_back(c.expected, BN_CLICKED);
    EXPECT_EQ(dlg.commands, expected);
    dlg.Qt().Dialog()->hide();
  }
}

// Each key reaches its command from wherever it counts, only while its menu item is enabled, and
// never while an input method is composing; the menu shows it beside the item.
TEST_F(QtTest, KeysReachTheirCommandsButNotWhileComposing) {
  struct Case {
    int control;  // where the focus is
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    UINT expected;  // 0: no command
    bool composing = false;
    UINT grayed = 0;  // a menu item grayed first
  };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Case cases[] = {
      {IDC_SEARCH_TEXT, ctrl, Qt::Key_N, ID_DICT_NEW},
      {IDC_WORD_LIST, ctrl, Qt::Key_O, IDC_OPEN_DICT},
      {IDC_SHOWN_MEANING, ctrl, Qt::Key_S, ID_FILE_SAVE},
      {IDC_SHOWN_WORD, ctrl | Qt::ShiftModifier, Qt::Key_S, ID_FILE_SAVE_AS},
      {IDC_OPEN_DICT, ctrl, Qt::Key_Q, ID_APP_EXIT},
      {IDC_SEARCH_TEXT, none, Qt::Key_F1, ID_HELP},
      {IDC_WORD_LIST, none, Qt::Key_Delete, ID_WORD_DELETE},
      {IDC_SHOWN_WORD, none, Qt::Key_Delete, 0},
      {IDC_WORD_LIST, none, Qt::Key_Delete, 0, false, ID_WORD_DELETE},
      {IDC_SEARCH_TEXT, ctrl, Qt::Key_S, 0, false, ID_FILE_SAVE},
      {IDC_SHOWN_MEANING, ctrl, Qt::Key_Z, ID_EDIT_UNDO},
      {IDC_SEARCH_TEXT, ctrl, Qt::Key_N, 0, true},
      {IDC_SEARCH_TEXT, ctrl, Qt::Key_Z, 0, true},
      {IDC_SHOWN_MEANING, none, Qt::Key_F1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.control << " " << QKeySequence(c.modifiers | c.key).toString().toStdString()
                 << (c.composing ? " composing" : ""));
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    dlg.Create();
    ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
    if (c.grayed) dlg.Qt().EnableMenuItem(static_cast<int>(c.grayed), false);
    dlg.Qt().Control(c.control)->setFocus(Qt::TabFocusReason);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    if (c.composing) {
      QInputMethodEvent preedit(qttext::FromU8(u8"か"), {});
      QApplication::sendEvent(focus, &preedit);
    }
    QTest::keyClick(focus, c.key, c.modifiers);
    std::vector<std::pair<UINT, UINT>> expected;
    if (c.expected) expected.emplace_back(c.expected, BN_CLICKED);
    EXPECT_EQ(dlg.commands, expected);
    if (c.expected && c.expected != ID_HELP) {
      QAction* item = nullptr;
      for (QAction* a : dlg.Qt().MenuBar()->findChildren<QAction*>())
        if (a->shortcut() == QKeySequence(c.modifiers | c.key)) item = a;
      EXPECT_NE(item, nullptr) << "no menu item shows the key";
    }
    dlg.Qt().Dialog()->hide();
  }
}

TEST_F(QtTest, CtrlFSelectsTheSearchText) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.texts = {{IDC_SEARCH_TEXT, CString("cat")}};
  dlg.Create();
  ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
  dlg.Qt().Control(IDC_SHOWN_MEANING)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  auto* combo = ControlAs<QComboBox>(dlg.Qt(), IDC_SEARCH_TEXT);
  QLineEdit* edit = combo->lineEdit();
  EXPECT_TRUE(combo->hasFocus());
  EXPECT_EQ(edit->selectedText(), QStringLiteral("cat"));
  EXPECT_TRUE(dlg.commands.empty());
  dlg.Qt().Dialog()->hide();
}

TEST_F(QtTest, EnterInTheMeaningEditMakesANewLine) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.texts = {{IDC_SHOWN_MEANING, CString("ab")}};
  dlg.Create();
  ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
  auto* meaning = ControlAs<QPlainTextEdit>(dlg.Qt(), IDC_SHOWN_MEANING);
  meaning->setFocus();
  meaning->moveCursor(QTextCursor::End);
  QTest::keyClick(meaning, Qt::Key_Return);
  QTest::keyClicks(meaning, QStringLiteral("c"));
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.Text(IDC_SHOWN_MEANING), CString("ab\r\nc"));
  EXPECT_TRUE(dlg.commands.empty());
  dlg.Qt().Dialog()->hide();
}

TEST_F(QtTest, TabLeavesTheMeaningEditForTheNextControl) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.Create();
  ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
  auto* meaning = ControlAs<QPlainTextEdit>(dlg.Qt(), IDC_SHOWN_MEANING);
  PressIn(meaning, Qt::Key_Tab);
  EXPECT_EQ(meaning->toPlainText(), QString());
  EXPECT_EQ(QApplication::focusWidget(), dlg.Qt().Control(IDC_OPEN_DICT));
  dlg.Qt().Dialog()->hide();
}

TEST_F(QtTest, EscapeAndTheCloseBoxAskForCancelAndLeaveTheWindowOpen) {
  for (int control : {IDC_SEARCH_TEXT, IDC_WORD_LIST, IDC_SHOWN_WORD, IDC_SHOWN_MEANING}) {
    SCOPED_TRACE(control);
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    dlg.Create();
    ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
    PressIn(dlg.Qt().Control(control), Qt::Key_Escape);
    EXPECT_EQ(dlg.commands, (std::vector<std::pair<UINT, UINT>>{{IDCANCEL, BN_CLICKED}}));
    EXPECT_TRUE(dlg.Qt().Dialog()->isVisible());
    dlg.Qt().Dialog()->hide();
  }
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.Create();
  ASSERT_NO_FATAL_FAILURE(ShowActive(dlg.Qt().Dialog()));
  EXPECT_FALSE(dlg.Qt().Dialog()->close());  // the program did not end the dialog
  EXPECT_EQ(dlg.commands, (std::vector<std::pair<UINT, UINT>>{{IDCANCEL, BN_CLICKED}}));
  EXPECT_TRUE(dlg.Qt().Dialog()->isVisible());
  dlg.Qt().Dialog()->hide();
}

TEST_F(QtTest, ModalRunEndsWithTheResultGivenToEndDialog) {
  struct Case {
    int key;
    INT_PTR result;
  };
  for (const Case& c : {Case{Qt::Key_Escape, IDCANCEL}, Case{Qt::Key_Return, IDOK}}) {
    RecordingDialog dlg(IDD_NEWDICT);
    dlg.endOnOkCancel = true;
    dlg.texts = {{IDC_DICT_NAME, CString()}};
    WhenModal([&](QWidget* modal) {
      EXPECT_EQ(modal, dlg.Qt().Dialog());
      QTest::keyClicks(dlg.Qt().Control(IDC_DICT_NAME), QStringLiteral("eng"));
      PressIn(dlg.Qt().Control(IDC_DICT_NAME), c.key);
    });
    EXPECT_EQ(dlg.DoModal(), c.result);
    EXPECT_EQ(dlg.Text(IDC_DICT_NAME), CString(c.result == IDOK ? "eng" : ""));
  }
}

TEST_F(QtTest, SecondaryDialogIsModalToAndCentredOverItsOwner) {
  RecordingDialog main(IDD_VOKARI_DIALOG);
  main.Create();
  ASSERT_NO_FATAL_FAILURE(ShowActive(main.Qt().Dialog()));
  main.Qt().Dialog()->move(100, 80);
  Settle();
  RecordingDialog about(IDD_ABOUTBOX, &main);
  about.endOnOkCancel = true;
  QWidget* parent = nullptr;
  QPoint centre, ownerCentre;
  WhenModal([&](QWidget* modal) {
    parent = modal->parentWidget();
    centre = modal->geometry().center();
    ownerCentre = main.Qt().Dialog()->geometry().center();
    PressIn(about.Qt().Control(IDOK), Qt::Key_Return);
  });
  EXPECT_EQ(about.DoModal(), IDOK);
  EXPECT_EQ(parent, main.Qt().Dialog());
  EXPECT_LE((centre - ownerCentre).manhattanLength(), 40);
  main.Qt().Dialog()->hide();
}

}  // namespace
