// Message boxes of the three types the program uses: their buttons in Japanese, icon, caption,
// owner, and the answer each button gives.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "QtTestSupport.h"
#include "QtText.h"
#include "resource.h"

namespace {

struct BoxCase {
  UINT type;
  std::vector<std::u8string_view> buttons;  // in the order the box lays them out, sorted
  QMessageBox::Icon icon;
  QMessageBox::StandardButton press;
  int result;
};

TEST_F(QtTest, MessageBoxTypesShowTheirButtonsAndReturnTheAnswer) {
  const BoxCase cases[] = {
      {MB_OK, {u8"OK"}, QMessageBox::NoIcon, QMessageBox::Ok, IDOK},
      {MB_OKCANCEL, {u8"OK", u8"キャンセル"}, QMessageBox::NoIcon, QMessageBox::Ok, IDOK},
      {MB_OKCANCEL, {u8"OK", u8"キャンセル"}, QMessageBox::NoIcon, QMessageBox::Cancel, IDCANCEL},
      {MB_YESNO | MB_ICONEXCLAMATION,
       {u8"いいえ(&N)", u8"はい(&Y)"},
       QMessageBox::Warning,
       QMessageBox::Yes,
       IDYES},
      {MB_YESNO | MB_ICONEXCLAMATION,
       {u8"いいえ(&N)", u8"はい(&Y)"},
       QMessageBox::Warning,
       QMessageBox::No,
       IDNO},
      {MB_OK | MB_ICONEXCLAMATION, {u8"OK"}, QMessageBox::Warning, QMessageBox::Ok, IDOK},
      {MB_YESNOCANCEL | MB_ICONEXCLAMATION,
       {u8"いいえ(&N)", u8"はい(&Y)", u8"キャンセル"},
       QMessageBox::Warning,
       QMessageBox::Cancel,
       IDCANCEL},
      {MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2,
       {u8"いいえ(&N)", u8"はい(&Y)"},
       QMessageBox::Warning,
       QMessageBox::No,
       IDNO},
  };
  RecordingDialog main(IDD_VOKARI_DIALOG);
  main.Create();
  main.Qt().Dialog()->show();
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " press " << c.press);
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption, text;
    QWidget* owner = nullptr;
    QPushButton* defaultButton = nullptr;
    WhenModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      for (QAbstractButton* b : box->buttons()) buttons << b->text();
      icon = box->icon();
      caption = box->windowTitle();
      text = box->text();
      owner = box->parentWidget();
      defaultButton = box->defaultButton();
      if (c.type & MB_DEFBUTTON2) {
        EXPECT_EQ(defaultButton, box->button(QMessageBox::No));
      }
      box->button(c.press)->click();
    });
    const int answer =
        main.MessageBox(U8(u8"辞書：英単語\nに保存します。"), U8(u8"上書き確認"), c.type);
    EXPECT_EQ(answer, c.result);
    buttons.sort();
    QStringList expected;
    for (auto b : c.buttons) expected << qttext::FromU8(b);
    EXPECT_EQ(buttons, expected);
    EXPECT_EQ(icon, c.icon);
    EXPECT_EQ(caption, qttext::FromU8(u8"上書き確認"));
    EXPECT_EQ(text, qttext::FromU8(u8"辞書：英単語\nに保存します。"));
    EXPECT_EQ(owner, main.Qt().Dialog());
  }
  main.Qt().Dialog()->hide();
}

TEST_F(QtTest, AfxMessageBoxIsTheNoticeWithTheApplicationName) {
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttonCount = 0;
  WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    icon = box->icon();
    buttonCount = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(AfxMessageBox(U8(u8"保存した！")), IDOK);
  EXPECT_EQ(caption, QStringLiteral("Vokari"));
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttonCount, 1);
}

TEST_F(QtTest, IconSizeMetricsAre32) {
  EXPECT_EQ(Backend().GetSystemMetrics(SM_CXICON), 32);
  EXPECT_EQ(Backend().GetSystemMetrics(SM_CYICON), 32);
}

}  // namespace
