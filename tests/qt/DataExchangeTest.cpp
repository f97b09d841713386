// Data exchange through real widgets: the program's bytes come back unchanged, typed text comes
// back in code page 932, and text the code page cannot hold fails the exchange.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

#include "QtTestSupport.h"
#include "QtText.h"
#include "resource.h"

namespace {

RecordingDialog& BindMainWindow(RecordingDialog& dlg) {
  dlg.texts = {{IDC_DICT_LABEL, CString()},
               {IDC_SHOWN_WORD, CString()},
               {IDC_SHOWN_MEANING, CString()},
               {IDC_SEARCH_TEXT, CString()},
               {IDC_COUNT_LABEL, CString()}};
  return dlg;
}

struct RoundTrip {
  const char* what;
  CString bytes;
};

TEST_F(QtTest, ProgramTextComesBackByteForByteFromEveryKindOfControl) {
  const RoundTrip cases[] = {
      {"ascii", CString("hello, world")},
      {"japanese", U8(u8"辞書：英単語 ソ表")},
      {"half-width katakana", U8(u8"ﾍﾙﾌﾟ")},
      // NEC and IBM duplicates: both decode to the same character, which encodes back to the
      // other code, so a converting round trip would change these bytes.
      {"duplicate codes", CString("\x87\x90\x87\x91\xED\x40\xFA\x5C")},
      {"not code page 932", CString("\x82\xFF\xA0\x80\x81")},
      {"lone lead byte", CString("abc\x83")},
      {"CR LF and lone LF", CString("one\r\ntwo\nthree\r")},
      {"backslash and tilde", CString("C:\\dict\\~a.vkd")},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    BindMainWindow(dlg);
    for (auto& [id, value] : dlg.texts) value = c.bytes;
    dlg.Create();  // OnInitDialog: UpdateData(FALSE)
    for (auto& [id, value] : dlg.texts) value = CString("overwritten");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    for (auto& [id, value] : dlg.texts) EXPECT_EQ(value.Bytes(), c.bytes.Bytes()) << id;
  }
}

TEST_F(QtTest, MultiLineEditShowsLfAndGivesBackCrLf) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  BindMainWindow(dlg).Text(IDC_SHOWN_MEANING) = U8(u8"ねこ\r\ncat");
  dlg.Create();
  auto* meaning = ControlAs<QPlainTextEdit>(dlg.Qt(), IDC_SHOWN_MEANING);
  EXPECT_EQ(meaning->toPlainText(), qttext::FromU8(u8"ねこ\ncat"));
  meaning->moveCursor(QTextCursor::End);
  QTest::keyClick(meaning, Qt::Key_Return);
  QTest::keyClicks(meaning, QStringLiteral("dog"));
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.Text(IDC_SHOWN_MEANING), U8(u8"ねこ\r\ncat\r\ndog"));
}

TEST_F(QtTest, TypedTextComesBackInCodePage932) {
  struct Typed {
    int id;
    QString typed;
    std::u8string_view expected;
  };
  const Typed cases[] = {
      {IDC_SHOWN_WORD, QStringLiteral("cat"), u8"cat"},
      {IDC_SHOWN_WORD, qttext::FromU8(u8"ねこ"), u8"ねこ"},
      {IDC_SEARCH_TEXT, qttext::FromU8(u8"ソ"), u8"ソ"},
      {IDC_SHOWN_MEANING, qttext::FromU8(u8"①"), u8"①"},  // a vendor extension
  };
  for (const Typed& c : cases) {
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    BindMainWindow(dlg);
    dlg.Create();
    QWidget* w = dlg.Qt().Control(c.id);
    if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
    Type(w, c.typed);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.Text(c.id), U8(c.expected));
  }
}

// An exchange towards the controls skips a control that still shows the member's bytes, but
// one the user typed into gets the member's text back even when the member did not change.
TEST_F(QtTest, ExchangeTowardsTheControlsPutsBackWhatTheUserChanged) {
  const auto shown = [](QWidget* w) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) return line->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(w)) return text->toPlainText();
    return qobject_cast<QComboBox*>(w)->currentText();
  };
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  BindMainWindow(dlg);
  const int typedInto[] = {IDC_SHOWN_WORD, IDC_SHOWN_MEANING, IDC_SEARCH_TEXT};
  for (int id : typedInto) dlg.Text(id) = U8(u8"元の文");
  dlg.Create();
  for (int id : typedInto) {
    SCOPED_TRACE(id);
    QWidget* w = dlg.Qt().Control(id);
    Type(qobject_cast<QComboBox*>(w) ? qobject_cast<QComboBox*>(w)->lineEdit() : w,
         QStringLiteral("typed"));
    ASSERT_NE(shown(w), qttext::FromU8(u8"元の文"));
    dlg.UpdateData(FALSE);
    EXPECT_EQ(shown(w), qttext::FromU8(u8"元の文"));
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.Text(id), U8(u8"元の文"));
  }
}

TEST_F(QtTest, TextWithoutACodePage932FormFailsTheExchange) {
  RecordingDialog main(IDD_VOKARI_DIALOG);
  BindMainWindow(main).Text(IDC_DICT_LABEL) = CString("label");
  main.Create();
  AfxGetApp()->m_pMainWnd = &main;
  QDialog* window = main.Qt().Dialog();
  ASSERT_NO_FATAL_FAILURE(ShowActive(window));
  auto* word = ControlAs<QLineEdit>(main.Qt(), IDC_SHOWN_WORD);
  main.Text(IDC_SHOWN_WORD) = CString("before");
  main.Text(IDC_DICT_LABEL) = CString("untouched");
  Type(word, qttext::FromU8(u8"cat🐈"));  // a cat emoji

  QString shownText, shownCaption;
  QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
  QWidget* shownParent = nullptr;
  WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    shownText = box->text();
    shownCaption = box->windowTitle();
    shownIcon = box->icon();
    shownParent = box->parentWidget();
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_FALSE(main.UpdateData(TRUE));
  EXPECT_EQ(shownText, qttext::FromU8(u8"使えない文字が入ってるよ"));
  EXPECT_EQ(shownCaption, QStringLiteral("Vokari"));
  EXPECT_EQ(shownIcon, QMessageBox::Warning);
  EXPECT_EQ(shownParent, window);
  // Nothing was stored, the text was not altered, and the focus is on the offending control.
  EXPECT_EQ(main.Text(IDC_SHOWN_WORD), CString("before"));
  EXPECT_EQ(main.Text(IDC_DICT_LABEL), CString("untouched"));
  EXPECT_EQ(word->text(), qttext::FromU8(u8"cat🐈"));
  EXPECT_EQ(window->focusWidget(), word);
  window->activateWindow();  // the desktop gives the window back its activation
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  EXPECT_EQ(QApplication::focusWidget(), word);
  EXPECT_EQ(word->selectedText(), word->text());
  AfxGetApp()->m_pMainWnd = nullptr;
  window->hide();
}

TEST_F(QtTest, CheckBoxesExchangeTheirState) {
  RecordingDialog dlg(IDD_SETTINGS);
  dlg.checks = {{IDC_LAST_FILE_OPEN, 1}, {IDC_IF_ADD_SAVE, 0}};
  dlg.Create();
  auto* last = ControlAs<QCheckBox>(dlg.Qt(), IDC_LAST_FILE_OPEN);
  auto* save = ControlAs<QCheckBox>(dlg.Qt(), IDC_IF_ADD_SAVE);
  EXPECT_TRUE(last->isChecked());
  EXPECT_FALSE(save->isChecked());
  QTest::mouseClick(last, Qt::LeftButton);
  QTest::mouseClick(save, Qt::LeftButton);
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.checks[0].second, 0);
  EXPECT_EQ(dlg.checks[1].second, 1);
}

}  // namespace

namespace {

TEST_F(QtTest, SearchBoxTakesOnlyWhatItsWidthShows) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  BindMainWindow(dlg);
  dlg.Create();
  auto* search = ControlAs<QComboBox>(dlg.Qt(), IDC_SEARCH_TEXT)->lineEdit();
  auto* word = ControlAs<QLineEdit>(dlg.Qt(), IDC_SHOWN_WORD);
  const QString longText = qttext::FromU8(u8"とても長い検索語をここに入れてみるとどうなるか");
  for (QChar ch : longText) Type(search, QString(ch));
  for (QChar ch : longText) Type(word, QString(ch));
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  const QString kept = qttext::FromCp932(dlg.Text(IDC_SEARCH_TEXT));
  EXPECT_FALSE(kept.isEmpty());
  EXPECT_TRUE(longText.startsWith(kept));
  EXPECT_LT(kept.size(), longText.size());
  EXPECT_LE(search->fontMetrics().horizontalAdvance(kept), search->contentsRect().width());
  // The word edit scrolls instead, so it keeps everything.
  EXPECT_EQ(qttext::FromCp932(dlg.Text(IDC_SHOWN_WORD)), longText);
  // A phrase committed at once by an input method keeps what fits, like typing does.
  search->clear();
  Type(search, qttext::FromU8(u8"検索"));
  QInputMethodEvent commit;
  commit.setCommitString(longText);
  QApplication::sendEvent(search, &commit);
  // The input method's Enter only commits: what arrives is the commit, and nothing searches.
  EXPECT_TRUE(dlg.commands.empty());
  const QString head = qttext::FromU8(u8"検索");
  const QString committed = search->text().mid(head.size());
  ASSERT_TRUE(search->text().startsWith(head));
  EXPECT_FALSE(committed.isEmpty());
  EXPECT_TRUE(longText.startsWith(committed));
  const int room = search->contentsRect().width() - 6;
  EXPECT_LE(search->fontMetrics().horizontalAdvance(search->text()), room);
  EXPECT_GT(search->fontMetrics().horizontalAdvance(head + longText.left(committed.size() + 1)),
            room);
  // The program's own text is not cut.
  dlg.Text(IDC_SEARCH_TEXT) = U8(u8"とても長い検索語をここに入れてみるとどうなるか");
  dlg.UpdateData(FALSE);
  EXPECT_EQ(search->text(), longText);
}

}  // namespace
