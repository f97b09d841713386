// Each dialog template becomes the right widgets, at the right places, in the right order.
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

#include "QtTestSupport.h"
#include "resource.h"

namespace {

const char* ExpectedClass(const ControlTemplate& c) {
  switch (c.kind) {
    case ControlKind::Static:
    case ControlKind::Icon:
      return "QLabel";
    case ControlKind::Edit:
      return (c.styles & style::MultiLine) ? "QPlainTextEdit" : "QLineEdit";
    case ControlKind::PushButton:
      return "QPushButton";
    case ControlKind::CheckBox:
      return "QCheckBox";
    case ControlKind::ComboBox:
      return "QComboBox";
    case ControlKind::ListBox:
      return "QListWidget";
  }
  return "";
}

double LetterAverage(const QFont& font) {
  return QFontMetricsF(font).horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                              "abcdefghijklmnopqrstuvwxyz")) /
         52.0;
}

// The conversion worked out here: x = x * baseX / 4, y = y * baseY / 8, the vertical base being
// the font's height.
QRect Expected(const QFont& font, double bx, int x, int y, int cx, int cy) {
  const double by = QFontMetricsF(font).height();
  auto h = [bx](int v) { return static_cast<int>(std::lround(v * bx / 4)); };
  auto v = [by](int w) { return static_cast<int>(std::lround(w * by / 8)); };
  return QRect(h(x), v(y), h(cx), v(cy));
}

class TemplateWidgets : public QtTest, public ::testing::WithParamInterface<int> {};

TEST_P(TemplateWidgets, EveryControlIsTheRightWidgetInTemplateOrder) {
  RecordingDialog dlg(GetParam());
  dlg.Create();
  const QtPeer& peer = dlg.Qt();
  const DialogTemplate& tmpl = *AfxFindDialog(GetParam());
  ASSERT_EQ(peer.ControlCount(), tmpl.controls.size());
  for (size_t i = 0; i < tmpl.controls.size(); ++i) {
    const ControlTemplate& c = tmpl.controls[i];
    QWidget* w = peer.ControlAt(i);
    SCOPED_TRACE(c.id);
    EXPECT_STREQ(w->metaObject()->className(), ExpectedClass(c));
    EXPECT_EQ(w->parentWidget(), peer.Client());
    EXPECT_EQ(w->isHidden(), (c.styles & style::Hidden) != 0);
    if (c.kind == ControlKind::Static || c.kind == ControlKind::PushButton ||
        c.kind == ControlKind::CheckBox) {
      const QString text = QString::fromUtf8(reinterpret_cast<const char*>(c.text.data()),
                                             static_cast<qsizetype>(c.text.size()));
      EXPECT_EQ(w->property("text").toString(), text);
    }
  }
}

TEST_P(TemplateWidgets, TabOrderFollowsTheTemplateThroughTabStops) {
  RecordingDialog dlg(GetParam());
  dlg.Create();
  const QtPeer& peer = dlg.Qt();
  const DialogTemplate& tmpl = *AfxFindDialog(GetParam());
  std::vector<QWidget*> expected;
  for (size_t i = 0; i < tmpl.controls.size(); ++i) {
    const ControlTemplate& c = tmpl.controls[i];
    if ((c.styles & style::TabStop) && !(c.styles & style::Hidden))
      expected.push_back(peer.ControlAt(i));
  }
  ASSERT_FALSE(expected.empty());
  // Walk Qt's focus chain from the first tab stop, keeping the widgets Tab would stop at.
  std::vector<QWidget*> seen;
  QWidget* w = expected.front();
  do {
    if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() &&
        std::find(expected.begin(), expected.end(), w) != expected.end())
      seen.push_back(w);
    w = w->nextInFocusChain();
  } while (w != expected.front() && seen.size() <= expected.size());
  EXPECT_EQ(seen, expected);
}

TEST_P(TemplateWidgets, ClientAreaHasTheTemplateSizeAndTheJapaneseFont) {
  RecordingDialog dlg(GetParam());
  dlg.Create();
  const QtPeer& peer = dlg.Qt();
  const DialogTemplate& tmpl = *AfxFindDialog(GetParam());
  peer.Dialog()->show();
  Settle();
  const QFont font = peer.Dialog()->font();
  EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
  EXPECT_EQ(font.pointSize(), tmpl.pointSize);
  // The horizontal unit is the letters' average width, raised a little at most where a
  // template text would not fit otherwise.
  const double bx = peer.Units().BaseX();
  EXPECT_GE(bx, LetterAverage(font));
  EXPECT_LE(bx, LetterAverage(font) * 1.06);
  const QRect client = Expected(font, bx, 0, 0, tmpl.cx, tmpl.cy);
  EXPECT_EQ(peer.Client()->size(), client.size());
  EXPECT_EQ(peer.Dialog()->windowTitle().toUtf8().toStdString(),
            std::string(reinterpret_cast<const char*>(tmpl.caption.data()), tmpl.caption.size()));
  // The menu bar sits above the client area; without a menu the client area starts at 0.
  const int menuHeight = peer.MenuBar() ? peer.MenuBar()->height() : 0;
  EXPECT_EQ(peer.Client()->y(), menuHeight);
  EXPECT_EQ(peer.MenuBar() != nullptr, tmpl.menuId != 0);
  peer.Dialog()->hide();
}

TEST_P(TemplateWidgets, EveryTemplateTextFitsItsControl) {
  RecordingDialog dlg(GetParam());
  dlg.Create();
  const QtPeer& peer = dlg.Qt();
  const DialogTemplate& tmpl = *AfxFindDialog(GetParam());
  for (size_t i = 0; i < tmpl.controls.size(); ++i) {
    const ControlTemplate& c = tmpl.controls[i];
    if (c.text.empty() || c.kind == ControlKind::Icon || c.kind == ControlKind::Edit) continue;
    QWidget* w = peer.ControlAt(i);
    const QString text = w->property("text").toString();
    // A push button's own hint asks for a wide minimum; what matters is its text and frame.
    const int need = c.kind == ControlKind::PushButton
                         ? QFontMetrics(w->font()).horizontalAdvance(QString(text).remove('&')) + 4
                         : w->sizeHint().width();
    EXPECT_LE(need, w->width()) << c.id << " " << text.toStdString();
    EXPECT_LE(QFontMetrics(w->font()).height(), w->height()) << c.id;
  }
}

// A screen reader has a name for every control that can take the focus, and for a combo box's
// edit, which it reads as a control of its own.
TEST_P(TemplateWidgets, EveryFocusableControlHasAnAccessibleName) {
  RecordingDialog dlg(GetParam());
  dlg.Create();
  const QtPeer& peer = dlg.Qt();
  for (QWidget* w : peer.Client()->findChildren<QWidget*>()) {
    // Scroll bars and viewports are parts of their control; a combo box's list is a popup.
    if (w->focusPolicy() == Qt::NoFocus || w->window() != peer.Dialog() ||
        qobject_cast<QAbstractScrollArea*>(w->parentWidget()))
      continue;
    EXPECT_FALSE(w->accessibleName().isEmpty())
        << w->metaObject()->className() << " " << w->parentWidget()->objectName().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, TemplateWidgets,
                         ::testing::Values(IDD_ABOUTBOX, IDD_VOKARI_DIALOG, IDD_NEWDICT,
                                           IDD_ADDWORD, IDD_SETTINGS, IDD_CHANGED_OUTSIDE,
                                           IDD_RESTORE));

TEST_F(QtTest, AccessibleNamesComeFromLabelsOrTheStringTable) {
  struct Case {
    int templateId, controlId;
    const char8_t* name;
  };
  const Case cases[] = {
      {IDD_VOKARI_DIALOG, IDC_SEARCH_TEXT, u8"検索する文字"},
      {IDD_VOKARI_DIALOG, IDC_WORD_LIST, u8"単語の一覧"},
      {IDD_VOKARI_DIALOG, IDC_SHOWN_WORD, u8"単語"},
      {IDD_VOKARI_DIALOG, IDC_SHOWN_MEANING, u8"意味"},
      {IDD_VOKARI_DIALOG, IDC_OPEN_DICT, u8"辞書ファイル"},
      {IDD_NEWDICT, IDC_DICT_NAME, u8"辞書名"},
      {IDD_ADDWORD, IDC_ENTRY_MEANING, u8"意味"},
      {IDD_SETTINGS, IDC_LAST_FILE_OPEN, u8"起動時に最後に開いていたファイルを開く"},
      {IDD_RESTORE, IDC_VERSION_LIST, u8"残っている以前の版（新しい順）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.controlId);
    RecordingDialog dlg(c.templateId);
    dlg.Create();
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(c.name));
    EXPECT_EQ(dlg.Qt().Control(c.controlId)->accessibleName(), name);
    if (auto* combo = ControlAs<QComboBox>(dlg.Qt(), c.controlId)) {
      EXPECT_EQ(combo->lineEdit()->accessibleName(), name);
    }
  }
}

struct Place {
  int templateId, controlId, x, y, cx, cy;
};

TEST_F(QtTest, KnownControlsSitAtTheirDialogUnitPlaces) {
  const Place places[] = {
      {IDD_VOKARI_DIALOG, IDC_WORD_LIST, 7, 51, 107, 93},
      {IDD_VOKARI_DIALOG, IDC_SHOWN_MEANING, 121, 51, 146, 93},
      {IDD_VOKARI_DIALOG, IDC_COUNT_LABEL, 220, 7, 47, 11},
      {IDD_VOKARI_DIALOG, IDCANCEL, 111, 158, 50, 14},
      {IDD_ADDWORD, IDC_ENTRY_MEANING, 7, 39, 146, 93},
      {IDD_ADDWORD, IDC_CONTINUOUS, 101, 141, 53, 10},
      {IDD_NEWDICT, IDC_DICT_NAME, 34, 7, 90, 14},
      {IDD_SETTINGS, IDC_LAST_FILE_OPEN, 7, 7, 144, 10},
      {IDD_ABOUTBOX, IDOK, 44, 44, 50, 14},
  };
  // The main window's texts fit at the letters' average, so its unit is exactly that.
  {
    RecordingDialog main(IDD_VOKARI_DIALOG);
    main.Create();
    EXPECT_DOUBLE_EQ(main.Qt().Units().BaseX(), LetterAverage(main.Qt().Dialog()->font()));
  }
  for (const Place& p : places) {
    SCOPED_TRACE(testing::Message() << p.templateId << "/" << p.controlId);
    RecordingDialog dlg(p.templateId);
    dlg.Create();
    QWidget* w = dlg.Qt().Control(p.controlId);
    ASSERT_NE(w, nullptr);
    const QFont font = dlg.Qt().Dialog()->font();
    EXPECT_EQ(w->geometry(), Expected(font, dlg.Qt().Units().BaseX(), p.x, p.y, p.cx, p.cy));
  }
}

TEST_F(QtTest, ComboBoxTakesTheTemplateWidthAndItsOwnHeight) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.Create();
  auto* combo = ControlAs<QComboBox>(dlg.Qt(), IDC_SEARCH_TEXT);
  const QRect expected =
      Expected(dlg.Qt().Dialog()->font(), dlg.Qt().Units().BaseX(), 7, 28, 77, 62);
  EXPECT_EQ(combo->geometry().topLeft(), expected.topLeft());
  EXPECT_EQ(combo->width(), expected.width());
  EXPECT_LT(combo->height(), expected.height() / 2);  // the list part is not the box
  EXPECT_TRUE(combo->isEditable());
  EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
}

TEST_F(QtTest, StylesOfTheMainWindowControlsShow) {
  RecordingDialog dlg(IDD_VOKARI_DIALOG);
  dlg.Create();
  const QtPeer& peer = dlg.Qt();
  auto* dictLabel = ControlAs<QLabel>(peer, IDC_DICT_LABEL);
  EXPECT_EQ(dictLabel->frameShadow(), QFrame::Sunken);
  EXPECT_NE(dictLabel->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(ControlAs<QLabel>(peer, IDC_COUNT_LABEL)->alignment(),
            Qt::AlignRight | Qt::AlignVCenter);
  auto* openDict = ControlAs<QPushButton>(peer, IDC_OPEN_DICT);
  EXPECT_TRUE(openDict->isFlat());
  // Flat, but framed: its edge is drawn in another colour than the window behind it.
  const QImage face = openDict->grab().toImage();
  const QColor window = openDict->palette().color(QPalette::Window);
  EXPECT_NE(face.pixelColor(0, face.height() / 2).rgb(), window.rgb());
  EXPECT_NE(face.pixelColor(face.width() / 2, face.height() - 1).rgb(), window.rgb());
  EXPECT_TRUE(ControlAs<QPushButton>(peer, IDC_SEARCH)->isDefault());
  EXPECT_FALSE(ControlAs<QPushButton>(peer, IDCANCEL)->isDefault());
  auto* meaning = ControlAs<QPlainTextEdit>(peer, IDC_SHOWN_MEANING);
  EXPECT_TRUE(meaning->tabChangesFocus());
  EXPECT_EQ(meaning->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(meaning->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(meaning->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(ControlAs<QListWidget>(peer, IDC_WORD_LIST)->selectionMode(),
            QAbstractItemView::SingleSelection);
}

TEST_F(QtTest, MnemonicStaticsGiveFocusToTheNextControl) {
  RecordingDialog dlg(IDD_ADDWORD);
  dlg.Create();
  const QtPeer& peer = dlg.Qt();
  const auto* word = qobject_cast<QLabel*>(peer.ControlAt(0));
  const auto* meaning = qobject_cast<QLabel*>(peer.ControlAt(2));
  EXPECT_EQ(word->buddy(), peer.Control(IDC_ENTRY_WORD));
  EXPECT_EQ(meaning->buddy(), peer.Control(IDC_ENTRY_MEANING));

  RecordingDialog plain(IDD_NEWDICT);
  plain.Create();
  EXPECT_EQ(qobject_cast<QLabel*>(plain.Qt().ControlAt(0))->buddy(), nullptr);  // the name label
}

TEST_F(QtTest, AboutBoxShowsTheIconAtItsOwnSize) {
  RecordingDialog dlg(IDD_ABOUTBOX);
  dlg.Create();
  auto* icon = ControlAs<QLabel>(dlg.Qt(), IDR_MAINFRAME);
  EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
  EXPECT_EQ(icon->size(), QSize(32, 32));
}

// The window icon and every installed icon are one picture: the 16 x 16 drawing, each of its
// pixels made a square at the small sizes, and drawn smooth at the large ones, where the middle
// of each square keeps the drawing's colour.
TEST_F(QtTest, WindowIconAndInstalledIconsAreOnePicture) {
  const IconResource* resource = AfxFindIcon(IDR_MAINFRAME);
  ASSERT_NE(resource, nullptr);
  ASSERT_EQ(resource->images.size(), 2u);
  const QImage grid =
      QPixmap(resource->images[0].xpm.data()).toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(grid.size(), QSize(16, 16));
  const auto scaled = [&grid](int size) {
    return grid.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  };
  EXPECT_EQ(
      QPixmap(resource->images[1].xpm.data()).toImage().convertToFormat(QImage::Format_ARGB32),
      scaled(32));
  for (int size : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const QImage installed = QImage(QStringLiteral(VOKARI_ICON_DIR "/vokari-%1.png").arg(size))
                                 .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(installed.size(), QSize(size, size));
    if (size <= 64) {
      EXPECT_EQ(installed, scaled(size));
      continue;
    }
    const int cell = size / 16;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        if (qAlpha(grid.pixel(x, y)) == 0) continue;
        const QColor want(grid.pixel(x, y));
        const QColor got(installed.pixel(x * cell + cell / 2, y * cell + cell / 2));
        EXPECT_LE(std::abs(want.red() - got.red()) + std::abs(want.green() - got.green()) +
                      std::abs(want.blue() - got.blue()),
                  12)
            << x << "," << y;
      }
    }
  }
}

TEST_F(QtTest, OnlyTheMainWindowCanBeResizedAndItsControlsStay) {
  RecordingDialog main(IDD_VOKARI_DIALOG);
  main.Create();
  QDialog* w = main.Qt().Dialog();
  w->show();
  Settle();
  const QRect before = main.Qt().Control(IDC_WORD_LIST)->geometry();
  w->resize(w->width() + 120, w->height() + 80);
  Settle();
  EXPECT_EQ(main.Qt().Control(IDC_WORD_LIST)->geometry(), before);
  EXPECT_EQ(main.Qt().Client()->width(), w->width());
  w->hide();

  RecordingDialog about(IDD_ABOUTBOX);
  about.Create();
  about.Qt().Dialog()->show();
  Settle();
  EXPECT_EQ(about.Qt().Dialog()->minimumSize(), about.Qt().Dialog()->maximumSize());
  about.Qt().Dialog()->hide();
}

}  // namespace
