#include "QtDialogUnits.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QList>
#include <QStringList>
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
}  // namespace

QtDialogUnits::QtDialogUnits(const QFont& font) {
  const QFontMetricsF metrics(font);
  m_baseX = metrics.horizontalAdvance(QLatin1String(kLetters)) / 52.0;
  m_baseY = metrics.height();
}

int QtDialogUnits::X(int du) const { return static_cast<int>(std::lround(du * m_baseX / 4.0)); }
int QtDialogUnits::Y(int du) const { return static_cast<int>(std::lround(du * m_baseY / 8.0)); }

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
