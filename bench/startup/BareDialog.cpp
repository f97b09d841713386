// The bare dialog the program's start-up is measured against: plain Qt Widgets, no framework,
// the main window's controls at the template's places, its menu bar and its font, and nothing
// else (no resources, no translation, no icon, no style sheet). It ends at its first paint:
//   bare_dialog paint            ends when the window is first painted
//   bare_dialog ready FILE       then reads FILE whole with read() into a new buffer and ends
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "ExitAtStart.h"

namespace {

// The same Japanese texts as the program's, from UTF-8 literals.
QString Jp(const char8_t* text) {
  return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

// Dialog units of the window's font.
struct Units {
  double x, y;
  explicit Units(const QFont& font) {
    const QFontMetricsF m(font);
    x = m.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
        52.0;
    y = m.height();
  }
  QRect Rect(int l, int t, int w, int h) const {
    return QRect(static_cast<int>(std::lround(l * x / 4)), static_cast<int>(std::lround(t * y / 8)),
                 static_cast<int>(std::lround(w * x / 4)),
                 static_cast<int>(std::lround(h * y / 8)));
  }
};

template <class W>
W* Place(W* widget, const Units& u, int l, int t, int w, int h) {
  widget->setGeometry(u.Rect(l, t, w, h));
  return widget;
}

void AddMenus(QMenuBar* bar) {
  bar->setNativeMenuBar(false);
  QMenu* file = bar->addMenu(Jp(u8"ファイル(&F)"));
  file->addAction(Jp(u8"新規(&N)"));
  file->addAction(Jp(u8"開く(&C)"));
  file->addAction(Jp(u8"上書き保存(&S)"));
  file->addAction(Jp(u8"名前をつけて保存(&A)"));
  file->addSeparator();
  file->addAction(Jp(u8"終了(&Q)"));
  QMenu* data = bar->addMenu(Jp(u8"データ(&D)"));
  data->addAction(Jp(u8"単語の登録(&A)"))->setEnabled(false);
  data->addAction(Jp(u8"単語の削除(&E)"))->setEnabled(false);
  data->addAction(Jp(u8"単語の修正(&C)"))->setEnabled(false);
  bar->addAction(Jp(u8"設定(&S)"));
  bar->addMenu(Jp(u8"ヘルプ(&?)"))->addAction(Jp(u8"バージョン情報(&V)"));
}

void AddControls(QWidget* client, const Units& u) {
  auto* combo = Place(new QComboBox(client), u, 7, 28, 77, 62);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->resize(combo->width(), combo->sizeHint().height());
  Place(new QPushButton(Jp(u8"検索(&F)"), client), u, 87, 27, 27, 14)->setDefault(true);
  Place(new QListWidget(client), u, 7, 51, 107, 93);
  Place(new QLineEdit(client), u, 122, 23, 103, 20);
  auto* meaning = Place(new QPlainTextEdit(client), u, 121, 51, 146, 93);
  meaning->setLineWrapMode(QPlainTextEdit::NoWrap);
  meaning->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  meaning->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Place(new QPushButton(Jp(u8"辞書ファイル(&S)"), client), u, 7, 7, 50, 14)->setFlat(true);
  auto* label = Place(new QLabel(Jp(u8"--読み込まれていません--"), client), u, 60, 9, 85, 11);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Place(new QPushButton(QStringLiteral("OK"), client), u, 253, 158, 14, 14)->hide();
  Place(new QPushButton(Jp(u8"閉じる(&Q)"), client), u, 111, 158, 50, 14);
  Place(new QPushButton(Jp(u8"ﾍﾙﾌﾟ(&H)"), client), u, 7, 158, 50, 14);
  auto* count = Place(new QLabel(client), u, 220, 7, 47, 11);
  count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// read() of the whole file into a buffer allocated for it.
void ReadWhole(const char* path) {
  const int fd = open(path, O_RDONLY);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0) std::exit(1);
  const auto size = static_cast<size_t>(st.st_size);
  std::unique_ptr<char[]> buffer(new char[size]);
  for (size_t done = 0; done < size;) {
    const ssize_t n = read(fd, buffer.get() + done, size - done);
    if (n <= 0) std::exit(1);
    done += static_cast<size_t>(n);
  }
  close(fd);
  volatile char last = size ? buffer[size - 1] : 0;
  (void)last;
}

}  // namespace

int main(int argc, char** argv) {
  ExitAtStart::Mode mode{};
  if (argc < 2 || !ExitAtStart::ParseMode(argv[1], mode) ||
      (mode == ExitAtStart::Ready && argc < 3))
    return 2;
  const char* file = mode == ExitAtStart::Ready ? argv[2] : nullptr;
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPointSize(9);
  QApplication::setFont(font);
  app.installEventFilter(new ExitAtStart(mode, [file] { ReadWhole(file); }));

  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Vokari"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QMenuBar(&dialog);
  AddMenus(bar);
  layout->setMenuBar(bar);
  const Units units(font);
  auto* client = new QFrame(&dialog);
  client->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  client->setMinimumSize(units.Rect(0, 0, 274, 179).size());
  AddControls(client, units);
  layout->addWidget(client);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(), dialog.sizeHint());
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
  }
  return dialog.exec();
}
