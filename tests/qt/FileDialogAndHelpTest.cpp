// The file dialogs as the program asks for them, the help window, and starting without a
// display.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <cstdlib>
#include <map>

#include "FileDialog.h"
#include "QtFileDialog.h"
#include "QtMain.h"
#include "QtTestSupport.h"
#include "QtText.h"
#include "resource.h"

namespace {

struct DialogCase {
  const char* what;
  bool open;
  std::u8string_view fileName;
  std::u8string_view filter;
  QFileDialog::AcceptMode mode;
  std::u8string_view selectedFilter;
  std::u8string_view nameBox;
  bool startsInFolder;  // else in the current directory
  const char* folder = "";
};

TEST_F(QtTest, FileDialogsAreSetUpAsTheProgramAsks) {
  QTemporaryDir folder;
  const QByteArray there = folder.path().toUtf8();
  const DialogCase cases[] = {
      {"new", false, u8"英単語.vkd", u8"辞書データ|*.vkd|", QFileDialog::AcceptSave,
       u8"辞書データ (*.vkd)", u8"英単語.vkd", true, there.constData()},
      {"open", true, u8"*.vkd", u8"辞書データ(*.vkd)|*.vkd|", QFileDialog::AcceptOpen,
       u8"辞書データ(*.vkd)", u8"*.vkd", false},
      {"save as, no name, folder gone", false, u8".vkd", u8"辞書データ|*.vkd|",
       QFileDialog::AcceptSave, u8"辞書データ (*.vkd)", u8".vkd", false, "/nonexistent/folder"},
      {"open, unlisted pattern", true, u8"*.txt", u8"辞書データ|*.vkd|", QFileDialog::AcceptOpen,
       u8"*.txt", u8"*.txt", true, there.constData()},
  };
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(c.what);
    CFileDialog request(c.open, CString(".vkd"), U8(c.fileName),
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, U8(c.filter));
    request.SetInitialDir(CString(c.folder));
    QtFileDialog dialog(nullptr, request.Request());
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog.acceptMode(), c.mode);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("vkd"));
    EXPECT_EQ(dialog.selectedNameFilter(), qttext::FromU8(c.selectedFilter));
    EXPECT_EQ(dialog.directory().absolutePath(),
              c.startsInFolder ? folder.path() : QDir::currentPath());
    // Only a save asks before replacing a file.
    EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), c.open);
    auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nameBox, nullptr);
    EXPECT_EQ(nameBox->text(), qttext::FromU8(c.nameBox));
  }
  FileDialogRequest save;
  save.open = false;
  save.flags = OFN_HIDEREADONLY;
  EXPECT_TRUE(QtFileDialog(nullptr, save).testOption(QFileDialog::DontConfirmOverwrite));
}

// A pattern typed into the name box lists what matches it; only a name chooses a file.
TEST_F(QtTest, APatternInTheNameBoxChoosesTheListingNotAFile) {
  QTemporaryDir folder;
  CFileDialog request(TRUE, CString(".vkd"), CString("*.vkd"), OFN_HIDEREADONLY,
                      U8(u8"辞書データ(*.vkd)|*.vkd|"));
  QtFileDialog dialog(nullptr, request.Request());
  auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  const std::pair<QString, QString> typed[] = {
      {QStringLiteral("*.vkd"), qttext::FromU8(u8"辞書データ(*.vkd)")},
      {folder.path() + QStringLiteral("/*.txt"), QStringLiteral("*.txt")},
  };
  for (const auto& [text, filter] : typed) {
    nameBox->setText(text);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << text.toStdString();
    EXPECT_EQ(dialog.selectedNameFilter(), filter);
  }
  EXPECT_EQ(dialog.directory().absolutePath(), folder.path());
  EXPECT_EQ(nameBox->text(), QStringLiteral("*.txt"));
  nameBox->setText(QStringLiteral("a.vkd"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.selectedFiles(), QStringList{folder.filePath(QStringLiteral("a.vkd"))});
}

// Qt writes sizes and dates in the system's locale; the list reads as the rest of the
// interface does whatever LANG says.
TEST_F(QtTest, FileListDetailsAreJapanese) {
  QTemporaryDir folder;
  QFile file(folder.filePath(QStringLiteral("a.vkd")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(1000, 'x'));
  file.close();
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
  FileDialogRequest request;
  request.initialDir = CString(folder.path().toStdString());
  QtFileDialog dialog(nullptr, request);
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(view, nullptr);
  QAbstractItemModel* model = view->model();
  ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(view->rootIndex()) == 2; }, 5000));
  std::map<QString, QStringList> rows;
  for (int r = 0; r < 2; ++r) {
    QStringList columns;
    for (int c = 1; c < 4; ++c) columns << model->index(r, c, view->rootIndex()).data().toString();
    rows[model->index(r, 0, view->rootIndex()).data().toString()] = columns;
  }
  const QRegularExpression date(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$"));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows["a.vkd"][0], qttext::FromU8(u8"1,000 バイト"));
  EXPECT_TRUE(date.match(rows["a.vkd"][2]).hasMatch()) << rows["a.vkd"][2].toStdString();
  EXPECT_EQ(rows["sub"][0], QString());
  EXPECT_EQ(rows["sub"][1], qttext::FromU8(u8"フォルダー"));
  // Every header fits its column, and so do sizes, dates and the folder type; a file's type is
  // whatever the system calls it, and may be long.
  const QFontMetrics metrics = view->fontMetrics();
  for (int c = 1; c < 4; ++c) {
    SCOPED_TRACE(c);
    const int room = view->header()->sectionSize(c);
    EXPECT_LT(metrics.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString()), room);
    for (const auto& [name, columns] : rows) {
      if (c != 2 || name == QStringLiteral("sub")) {
        EXPECT_LT(metrics.horizontalAdvance(columns[c - 1]), room) << columns[c - 1].toStdString();
      }
    }
  }
}

TEST_F(QtTest, NameFiltersJoinDescriptionAndPatterns) {
  EXPECT_EQ(NameFilter(U8(u8"辞書データ"), CString("*.vkd")),
            qttext::FromU8(u8"辞書データ (*.vkd)"));
  EXPECT_EQ(NameFilter(U8(u8"辞書データ(*.vkd)"), CString("*.vkd")),
            qttext::FromU8(u8"辞書データ(*.vkd)"));
  EXPECT_EQ(NameFilter(CString("Text"), CString("*.txt;*.text")),
            QStringLiteral("Text (*.txt *.text)"));
}

// A file dragged from a file manager: the window takes one local file with its extension,
// wherever it is dropped (an edit would otherwise take the name as text), and hands over its
// path once the drop is over.
TEST_F(QtTest, ADroppedFileReachesTheWindowThatTakesIt) {
  struct Case {
    const char* what;
    bool takesFiles;
    QStringList urls;
    int control;
    std::u8string_view delivered;  // empty: the drag is refused
  };
  const Case cases[] = {
      {"on the list",
       true,
       {"file:///tmp/%E8%BE%9E%E6%9B%B8.vkd"},
       IDC_WORD_LIST,
       u8"/tmp/辞書.vkd"},
      {"on an edit, in capitals", true, {"file:///tmp/A.VKD"}, IDC_SHOWN_WORD, u8"/tmp/A.VKD"},
      {"another extension", true, {"file:///tmp/a.txt"}, IDC_WORD_LIST, u8""},
      {"another extension on the meaning", true, {"file:///tmp/a.txt"}, IDC_SHOWN_MEANING, u8""},
      {"a folder on the meaning", true, {"file:///tmp"}, IDC_SHOWN_MEANING, u8""},
      {"two files", true, {"file:///tmp/a.vkd", "file:///tmp/b.vkd"}, IDC_WORD_LIST, u8""},
      {"not a local file", true, {"https://example.com/a.vkd"}, IDC_WORD_LIST, u8""},
      {"a window that takes no files", false, {"file:///tmp/a.vkd"}, IDC_WORD_LIST, u8""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingDialog dlg(IDD_VOKARI_DIALOG);
    dlg.Create();
    if (c.takesFiles) dlg.DragAcceptFiles(TRUE, ".vkd");
    QWidget* target = dlg.Qt().Control(c.control);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& u : c.urls) urls << QUrl(u);
    data.setUrls(urls);
    data.setText(urls.front().toLocalFile());
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_EQ(enter.isAccepted(), !c.delivered.empty());
    if (c.delivered.empty()) continue;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(dlg.droppedFiles.empty()) << "handed over while the drop was still going on";
    Settle();
    EXPECT_EQ(dlg.droppedFiles, std::vector<CString>{U8(c.delivered)});
    CString word;
    ASSERT_TRUE(dlg.Qt().GetItemText(IDC_SHOWN_WORD, word));
    EXPECT_EQ(word, CString()) << "the edit took the name as text";
  }
}

TEST_F(QtTest, HelpWindowShowsTheTextAndClosesOnRequest) {
  RecordingDialog main(IDD_VOKARI_DIALOG);
  main.Create();
  Backend().ShowHelp(&main, U8(u8"使い方\r\n一行目"));
  QWidget* help = Backend().HelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_FALSE(help->isModal());
  EXPECT_EQ(help->windowTitle(), qttext::FromU8(u8"Vokari ヘルプ"));
  EXPECT_EQ(help->findChild<QPlainTextEdit*>()->toPlainText(), qttext::FromU8(u8"使い方\n一行目"));
  main.WinHelp(HELP_QUIT);
  Settle();
  EXPECT_TRUE(Backend().HelpWindow() == nullptr || !Backend().HelpWindow()->isVisible());
}

TEST_F(QtTest, HelpWindowOpensBesideOrOverItsOwnerAndEscapeClosesIt) {
  RecordingDialog main(IDD_VOKARI_DIALOG);
  main.Create();
  QWidget* owner = main.Qt().Dialog();
  owner->show();
  owner->move(250, 300);
  Settle();
  Backend().ShowHelp(&main, U8(u8"使い方"));
  QWidget* help = Backend().HelpWindow();
  ASSERT_NE(help, nullptr);
  const QRect ownerRect = owner->frameGeometry();
  const QRect helpRect = help->geometry();
  const QRect area = owner->screen()->availableGeometry();
  EXPECT_TRUE(area.contains(helpRect)) << helpRect.x() << "," << helpRect.y();
  EXPECT_TRUE(helpRect.left() > ownerRect.right() || helpRect.contains(ownerRect.center()))
      << helpRect.x() << "," << helpRect.y();
  help->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(help));
  QTest::keyClick(help->focusWidget() ? help->focusWidget() : help, Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(Backend().HelpWindow() == nullptr || !Backend().HelpWindow()->isVisible());
}

TEST_F(QtTest, WithoutADisplayQtMainSaysSoAndEnds) {
  const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  std::vector<std::pair<const char*, std::string>> saved;
  for (const char* name : names) {
    if (const char* v = std::getenv(name)) saved.emplace_back(name, v);
    unsetenv(name);
  }
  testing::internal::CaptureStderr();
  char arg0[] = "vokari";
  char* argv[] = {arg0, nullptr};
  const int result = QtMain(1, argv);
  const std::string said = testing::internal::GetCapturedStderr();
  for (const auto& [name, value] : saved) setenv(name, value.c_str(), 1);
  EXPECT_EQ(result, 1);
  EXPECT_NE(said.find("xvfb-run -a vokari"), std::string::npos);
  EXPECT_NE(said.find("graphical display"), std::string::npos);
  EXPECT_NE(said.find(reinterpret_cast<const char*>(u8"グラフィック画面")), std::string::npos);
}

}  // namespace
