// Dialog units to pixels for one dialog font, and the choice of that font. It measures and
// converts; it creates no widgets.
#pragma once

#include <QFont>
#include <QRect>

#include "Resources.h"

class QtDialogUnits {
 public:
  // Base units from the font's metrics: the average width of "A".."Z" "a".."z" and the height.
  // With a template, the horizontal unit is raised where a static's or a check box's text would
  // not fit its control in this font (the templates were drawn for a narrower font).
  explicit QtDialogUnits(const QFont& font, const DialogTemplate* tmpl = nullptr);

  int X(int du) const;
  int Y(int du) const;
  QRect Rect(int x, int y, int cx, int cy) const;
  double BaseX() const { return m_baseX; }
  double BaseY() const { return m_baseY; }

 private:
  double m_baseX;
  double m_baseY;
};

// The template's font where it is installed, else IPAPGothic, else any installed font that
// writes Japanese, at the template's point size.
QFont DialogFont(const DialogTemplate& tmpl);
