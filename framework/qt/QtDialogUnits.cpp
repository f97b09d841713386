#include "QtDialogUnits.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "QtText.h"

namespace {
const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

QString JapaneseFamily(const QString& wanted) {
  const QStringList families = QFontDatabase::families();
  if (!wanted.isEmpty() && families.contains(wanted)) return wanted;
  if (families.contains(QStringLiteral("IPAPGothic"))) return QStringLiteral("IPAPGothic");
  for (const QString& family : families)
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) return family;
  return QString();
}
// The text as a label shows it: "&&" is an ampersand, a single '&' marks the mnemonic.
QString Shown(std::u8string_view text) {
  QString shown = qttext::FromU8(text);
  shown.replace(QLatin1String("&&"), QStringLiteral("\x01"));
  shown.remove(QLatin1Char('&'));
  shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return shown;
}

// The smallest horizontal unit at which every static and check box text fits its control.
double FittingBaseX(const QFontMetricsF& metrics, const DialogTemplate& tmpl) {
  constexpr double kFrame = 4;       // a sunken frame, both sides
  constexpr double kCheckMark = 22;  // the box and the gap before the text
  double base = 0;
  for (const ControlTemplate& c : tmpl.controls) {
    if (c.cx <= 0 || c.text.empty()) continue;
    double need = std::ceil(metrics.horizontalAdvance(Shown(c.text))) + 1;
    if (c.kind == ControlKind::Static && (c.styles & style::Sunken))
      need += kFrame;
    else if (c.kind == ControlKind::CheckBox)
      need += kCheckMark;
    else if (c.kind != ControlKind::Static)
      continue;
    base = std::max(base, need * 4.0 / c.cx);
  }
  return base;
}

}  // namespace

QtDialogUnits::QtDialogUnits(const QFont& font, const DialogTemplate* tmpl) {
  const QFontMetricsF metrics(font);
  m_baseX = metrics.horizontalAdvance(QLatin1String(kLetters)) / 52.0;
  m_baseY = metrics.height();
  if (tmpl) m_baseX = std::max(m_baseX, FittingBaseX(metrics, *tmpl));
}

int QtDialogUnits::X(int du) const {
  return static_cast<int>(std::lround(du * m_baseX / 4.0));
}
int QtDialogUnits::Y(int du) const {
  return static_cast<int>(std::lround(du * m_baseY / 8.0));
}

QRect QtDialogUnits::Rect(int x, int y, int cx, int cy) const {
  return QRect(X(x), Y(y), X(cx), Y(cy));
}

QFont DialogFont(const DialogTemplate& tmpl) {
  QFont font;
  const QString family = JapaneseFamily(qttext::FromU8(tmpl.fontName));
  if (!family.isEmpty()) font.setFamily(family);
  font.setPointSize(tmpl.pointSize > 0 ? tmpl.pointSize : 9);
  return font;
}
