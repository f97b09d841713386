// The program itself on the Qt backend, from start-up to the bytes of a saved book: the real
// application object and main window, driven through their widgets as a user would.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DictionaryApp.h"
#include "QtTestSupport.h"
#include "QtText.h"
#include "TempDir.h"
#include "TestText.h"
#include "VkdBytes.h"
#include "resource.h"

namespace {

QWidget* Control(QWidget* window, int id) {
  return window->findChild<QWidget*>(QStringLiteral("control_%1").arg(id));
}

// What a control shows on screen, in UTF-8.
std::string Shown(QWidget* window, int id) {
  QWidget* w = Control(window, id);
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
  if (auto* line = qobject_cast<QLineEdit*>(w)) return line->text().toStdString();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return plain->toPlainText().toStdString();
  ADD_FAILURE() << "no text control " << id;
  return {};
}

std::vector<std::string> Rows(QWidget* window) {
  std::vector<std::string> rows;
  if (auto* list = qobject_cast<QListWidget*>(Control(window, IDC_WORD_LIST)))
    for (int i = 0; i < list->count(); ++i) rows.push_back(list->item(i)->text().toStdString());
  return rows;
}

void Click(QWidget* window, int id) {
  QWidget* button = Control(window, id);
  if (!button) {
    ADD_FAILURE() << "no button " << id;
    if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->done(IDCANCEL);
    return;
  }
  QTest::mouseClick(button, Qt::LeftButton);
}

QAction* MenuItem(QWidget* window, std::u8string_view text) {
  for (QAction* action : window->findChild<QMenuBar*>()->findChildren<QAction*>())
    if (action->text() == qttext::FromU8(text)) return action;
  return nullptr;
}

using Step = std::function<void(QWidget*)>;

// Runs the steps on the modal windows that come up one after the other, each step on the next.
void InTurn(std::vector<Step> steps, size_t next = 0) {
  if (next == steps.size()) return;
  WhenModal([steps, next](QWidget* modal) {
    InTurn(steps, next + 1);  // before this step brings up the next window
    steps[next](modal);
  });
}

// A message box with this caption and text, answered with OK.
Step Notice(std::u8string_view caption, std::string text) {
  return [caption, text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "not a message box";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(IDCANCEL);
      return;
    }
    EXPECT_EQ(box->windowTitle().toStdString(), Utf8(caption));
    EXPECT_EQ(box->text().toStdString(), text);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
      ok->click();
    else
      box->reject();
  };
}

// A run that goes wrong may leave a window that nothing answers: end it rather than wait.
class Watchdog {
 public:
  explicit Watchdog(int seconds) {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [] {
      ADD_FAILURE() << "the program still runs";
      std::fflush(stdout);
      std::_Exit(1);
    });
    m_timer.start(seconds * 1000);
  }

 private:
  QTimer m_timer;
};

class MainWindow : public QtTest {
 protected:
  void SetUp() override {
    m_oldDir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  void TearDown() override { std::filesystem::current_path(m_oldDir); }

  TempDir dir;

 private:
  std::filesystem::path m_oldDir;
};

TEST_F(MainWindow, ReopensSearchesSelectsAddsAndSaves) {
  const std::string book = dir.Path("words.vkd");
  WriteBytes(dir / "words.vkd",
             VkdFile(Sjis(u8"英単語"), {{"cat", Sjis(u8"ねこ")}, {"dog", Sjis(u8"いぬ")}}));
  WriteBytes(dir / "Vokari.ini",
             "[General]\r\nLastFileOpen=1\r\nIfAddSave=1\r\nLastPath=" + book + "\r\n");

  std::vector<std::string> afterStart, found, shown, afterSave;
  WhenModal([&](QWidget* window) {
    afterStart = {Shown(window, IDC_DICT_LABEL), Shown(window, IDC_COUNT_LABEL)};
    for (const std::string& row : Rows(window)) afterStart.push_back(row);

    QLineEdit* search = qobject_cast<QComboBox*>(Control(window, IDC_SEARCH_TEXT))->lineEdit();
    QTest::keyClicks(search, QStringLiteral("d"));
    Click(window, IDC_SEARCH);
    found = Rows(window);

    auto* list = qobject_cast<QListWidget*>(Control(window, IDC_WORD_LIST));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    shown = {Shown(window, IDC_SHOWN_WORD), Shown(window, IDC_SHOWN_MEANING)};

    InTurn({[](QWidget* add) {
              Type(Control(add, IDC_ENTRY_WORD), QStringLiteral("bird"));
              Type(Control(add, IDC_ENTRY_MEANING), qttext::FromU8(u8"とり"));
              Click(add, IDOK);
            },
            Notice(u8"結果", Utf8(u8"辞書：英単語 に\n単語：bird\nを追加しました")),
            Notice(u8"上書き確認", book + Utf8(u8"\nに保存します。")),
            Notice(u8"Vokari", Utf8(u8"保存した！"))});
    if (QAction* add = MenuItem(window, u8"単語の登録(&A)"))
      add->trigger();
    else
      ADD_FAILURE() << "no menu item to add a word";
    afterSave = Rows(window);
    Click(window, IDCANCEL);
  });
  const Watchdog watchdog(60);
  CDictionaryApp app;
  AfxWinMain();

  // Start-up reopens the book but lists nothing until a search.
  EXPECT_EQ(afterStart, (std::vector<std::string>{Utf8(u8"英単語"), Utf8(u8"登録数：2")}));
  EXPECT_EQ(found, std::vector<std::string>{"dog"});
  EXPECT_EQ(shown, (std::vector<std::string>{"dog", Utf8(u8"いぬ")}));
  EXPECT_EQ(afterSave, (std::vector<std::string>{"dog", "bird"}));
  EXPECT_EQ(ReadBytes(dir / "words.vkd"),
            VkdFile(Sjis(u8"英単語"),
                    {{"cat", Sjis(u8"ねこ")}, {"dog", Sjis(u8"いぬ")}, {"bird", Sjis(u8"とり")}}));
}

}  // namespace
