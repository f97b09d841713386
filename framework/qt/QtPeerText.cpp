// Control text and check state of QtPeer.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "QtPeer.h"
#include "QtText.h"

namespace {

// The text as the widget holds it, line breaks as LF.
QString Shown(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) return text->toPlainText();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  return QString();
}

void Show(QWidget* widget, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (label->pixmap().isNull()) label->setText(text);
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->setText(text);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    edit->setPlainText(text);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->setEditText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  }
}

bool IsMultiLine(const ControlTemplate& c) {
  return c.kind == ControlKind::Edit && (c.styles & style::MultiLine);
}

}  // namespace

bool QtPeer::GetItemText(int id, CString& text) {
  ControlState* state = Find(id);
  if (!state) {
    text.Empty();
    return true;
  }
  // Untouched since the program set it: its bytes, without reading a long text off the widget.
  if (state->programText && !state->edited) {
    text = state->lastSet;
    return true;
  }
  const QString shown = Shown(state->widget);
  if (state->programText && shown == state->lastShown) {
    text = state->lastSet;
    return true;
  }
  std::optional<CString> bytes =
      qttext::ToCp932(IsMultiLine(*state->tmpl) ? qttext::FromQtLines(shown) : shown);
  // Text with no code page 932 form is refused, never turned into '?'.
  if (!bytes) return false;
  text = std::move(*bytes);
  return true;
}

void QtPeer::SetItemText(int id, const CString& text) {
  ControlState* state = Find(id);
  if (!state) return;
  // The control already shows these very bytes: converting and laying out a long text again
  // would change nothing on screen.
  if (state->programText && !state->edited && text == state->lastSet) return;
  QString shown = qttext::FromCp932(text);
  if (IsMultiLine(*state->tmpl)) shown = qttext::ToQtLines(shown);
  Show(state->widget, shown);
  state->programText = true;
  state->lastSet = text;
  // What the widget made of it, which may differ from what it was given.
  state->lastShown = Shown(state->widget);
  state->edited = false;
}

int QtPeer::GetCheck(int id) {
  ControlState* state = Find(id);
  auto* button = state ? qobject_cast<QAbstractButton*>(state->widget) : nullptr;
  if (!button || !button->isCheckable()) return 0;
  return button->isChecked() ? 1 : 0;
}

void QtPeer::SetCheck(int id, int checked) {
  ControlState* state = Find(id);
  auto* button = state ? qobject_cast<QAbstractButton*>(state->widget) : nullptr;
  if (button && button->isCheckable()) button->setChecked(checked != 0);
}
