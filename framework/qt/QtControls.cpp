#include "QtControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "QtText.h"

using namespace style;

namespace {

bool Has(const ControlTemplate& c, unsigned flag) {
  return (c.styles & flag) != 0;
}

bool Framed(const ControlTemplate& c) {
  return Has(c, Border) || Has(c, ClientEdge) || Has(c, StaticEdge) || Has(c, ModalFrame);
}

QWidget* CreateStatic(const ControlTemplate& c, QWidget* parent) {
  auto* label = new QLabel(qttext::FromU8(c.text), parent);
  label->setTextFormat(Qt::PlainText);
  if (Has(c, Sunken)) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  const Qt::Alignment horizontal = Has(c, RightAlign) ? Qt::AlignRight : Qt::AlignLeft;
  const Qt::Alignment vertical = Has(c, CenterVertical) ? Qt::AlignVCenter : Qt::AlignTop;
  label->setAlignment(horizontal | vertical);
  return label;
}

QWidget* CreateEdit(const ControlTemplate& c, QWidget* parent) {
  if (!Has(c, MultiLine)) {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(Framed(c));
    return edit;
  }
  auto* edit = new QPlainTextEdit(parent);
  // Tab moves on to the next control, as in the dialogs the program was written for.
  edit->setTabChangesFocus(true);
  if (Has(c, AutoHScroll) || Has(c, HScroll)) edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setVerticalScrollBarPolicy(Has(c, VScroll) ? Qt::ScrollBarAlwaysOn
                                                   : Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy(Has(c, HScroll) ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAlwaysOff);
  if (!Framed(c)) edit->setFrameStyle(QFrame::NoFrame);
  return edit;
}

QWidget* CreateButton(const ControlTemplate& c, QWidget* parent) {
  if (c.kind == ControlKind::CheckBox) return new QCheckBox(qttext::FromU8(c.text), parent);
  auto* button = new QPushButton(qttext::FromU8(c.text), parent);
  button->setFlat(Has(c, Flat));
  // A flat button keeps a thin frame, so that it still reads as a button and not as a label.
  if (Has(c, Flat)) {
    button->setStyleSheet(QStringLiteral(
        "QPushButton { border: 1px solid palette(dark); border-radius: 2px; padding: 0 3px; }"
        "QPushButton:focus { border-color: palette(highlight); }"
        "QPushButton:hover { background: palette(light); }"
        "QPushButton:pressed { background: palette(mid); }"));
  }
  button->setAutoDefault(true);
  button->setDefault(Has(c, DefaultButton));
  return button;
}

// Without horizontal auto-scroll a box takes only as much text as its width shows. Text that
// would run past the edge, typed, pasted or committed by an input method, is cut to its longest
// beginning that fits, as typing it character by character would have left it.
void LimitToWidth(QLineEdit* edit) {
  auto shown = std::make_shared<QString>(edit->text());
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, shown](const QString& text) {
    const int room = edit->contentsRect().width() - 6;  // the text margins inside the frame
    const QFontMetrics metrics = edit->fontMetrics();
    if (!edit->isModified() || metrics.horizontalAdvance(text) <= room) {
      *shown = text;
      return;
    }
    // What was inserted: text minus the beginning and the end it shares with the old text.
    qsizetype head = 0;
    while (head < text.size() && head < shown->size() && text[head] == (*shown)[head]) ++head;
    qsizetype tail = 0;
    while (tail < text.size() - head && tail < shown->size() - head &&
           text[text.size() - 1 - tail] == (*shown)[shown->size() - 1 - tail])
      ++tail;
    QString inserted = text.mid(head, text.size() - head - tail);
    const QString before = text.left(head);
    const QString after = text.right(tail);
    while (!inserted.isEmpty() && metrics.horizontalAdvance(before + inserted + after) > room) {
      inserted.chop(inserted.size() >= 2 && inserted.back().isLowSurrogate() ? 2 : 1);
    }
    QString kept = before + inserted + after;
    if (metrics.horizontalAdvance(kept) > room) kept = *shown;  // a deletion never widens
    *shown = kept;
    edit->setText(kept);
    edit->setCursorPosition(static_cast<int>(
        kept == before + inserted + after ? head + inserted.size() : std::min(head, kept.size())));
    edit->setModified(true);
  });
}

QWidget* CreateCombo(const ControlTemplate& c, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(Has(c, DropDown));
  if (combo->lineEdit() && !Has(c, AutoHScroll)) LimitToWidth(combo->lineEdit());
  // Enter runs the default button; it never adds the typed text to the list.
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

QWidget* CreateList(const ControlTemplate& c, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setUniformItemSizes(true);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy(Has(c, VScroll) ? Qt::ScrollBarAsNeeded
                                                   : Qt::ScrollBarAlwaysOff);
  if (!Framed(c)) list->setFrameStyle(QFrame::NoFrame);
  return list;
}

QWidget* CreateIcon(const ControlTemplate& c, QWidget* parent) {
  auto* label = new QLabel(parent);
  if (const IconResource* icon = AfxFindIcon(c.id)) label->setPixmap(IconPixmap(*icon, 32));
  return label;
}

QWidget* CreateWidget(const ControlTemplate& c, QWidget* parent) {
  switch (c.kind) {
    case ControlKind::Static:
      return CreateStatic(c, parent);
    case ControlKind::Edit:
      return CreateEdit(c, parent);
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
      return CreateButton(c, parent);
    case ControlKind::ComboBox:
      return CreateCombo(c, parent);
    case ControlKind::ListBox:
      return CreateList(c, parent);
    case ControlKind::Icon:
      return CreateIcon(c, parent);
  }
  return new QWidget(parent);
}

bool TakesFocus(const ControlTemplate& c) {
  return c.kind != ControlKind::Static && c.kind != ControlKind::Icon;
}

bool HasMnemonic(std::u8string_view text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u8'&') continue;
    if (text[i + 1] != u8'&') return true;
    ++i;
  }
  return false;
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& c, QWidget* parent, const QtDialogUnits& units) {
  QWidget* widget = CreateWidget(c, parent);
  widget->setObjectName(QStringLiteral("control_%1").arg(c.id));
  QRect rect = units.Rect(c.x, c.y, c.cx, c.cy);
  // The template height of a drop-down combo box includes its list; the box itself is as
  // high as its font needs. An icon control takes the size of its icon.
  if (c.kind == ControlKind::ComboBox) rect.setHeight(widget->sizeHint().height());
  if (c.kind == ControlKind::Icon) rect.setSize(QSize(32, 32));
  widget->setGeometry(rect);
  if (TakesFocus(c)) widget->setFocusPolicy(Has(c, TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
  if (Has(c, Hidden)) widget->hide();
  return widget;
}

QPixmap IconPixmap(const IconResource& icon, int size) {
  const IconImage* best = nullptr;
  for (const IconImage& image : icon.images)
    if (!best || std::abs(image.size - size) <= std::abs(best->size - size)) best = &image;
  if (!best || best->xpm.empty()) return QPixmap();
  return QPixmap(best->xpm.data());
}

QIcon WindowIcon(const IconResource& icon) {
  QIcon qicon;
  for (const IconImage& image : icon.images)
    if (!image.xpm.empty()) qicon.addPixmap(QPixmap(image.xpm.data()));
  return qicon;
}

void LinkBuddiesAndTabOrder(std::span<const ControlTemplate> controls,
                            std::span<QWidget* const> widgets) {
  QWidget* previous = nullptr;
  for (size_t i = 0; i < controls.size(); ++i) {
    if (!TakesFocus(controls[i])) continue;
    if (previous) QWidget::setTabOrder(previous, widgets[i]);
    previous = widgets[i];
  }
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind != ControlKind::Static || !HasMnemonic(controls[i].text)) continue;
    for (size_t j = i + 1; j < controls.size(); ++j) {
      if (!TakesFocus(controls[j])) continue;
      static_cast<QLabel*>(widgets[i])->setBuddy(widgets[j]);
      break;
    }
  }
}

QString WithoutMnemonic(const QString& text) {
  static const QRegularExpression parenthesised(QStringLiteral("\\(&[^&]\\)"));
  QString out = text;
  out.remove(parenthesised);
  QString plain;
  for (qsizetype i = 0; i < out.size(); ++i) {
    if (out[i] == QLatin1Char('&') && i + 1 < out.size()) ++i;
    plain += out[i];
  }
  return plain;
}

void NameForScreenReaders(std::span<const ControlTemplate> controls,
                          std::span<QWidget* const> widgets) {
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlTemplate& c = controls[i];
    if (!TakesFocus(c)) continue;
    QString name;
    if (c.kind == ControlKind::PushButton || c.kind == ControlKind::CheckBox)
      name = qttext::FromU8(c.text);
    else if (i > 0 && controls[i - 1].kind == ControlKind::Static)
      name = qttext::FromU8(controls[i - 1].text);
    if (name.isEmpty()) name = qttext::FromResource(static_cast<unsigned>(c.id));
    name = WithoutMnemonic(name);
    widgets[i]->setAccessibleName(name);
    // A combo box's edit is a control of its own to a screen reader.
    if (auto* combo = qobject_cast<QComboBox*>(widgets[i]); combo && combo->lineEdit())
      combo->lineEdit()->setAccessibleName(name);
  }
}
