#include "QtText.h"

#include "Cp932.h"
#include "Resources.h"

namespace qttext {

QString FromCp932(const CString& text) {
  const std::string& bytes = text.Bytes();
  QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  const size_t n = cp932::ToUtf16Lossy(bytes, reinterpret_cast<char16_t*>(out.data()));
  out.truncate(static_cast<qsizetype>(n));
  return out;
}

std::optional<CString> ToCp932(const QString& text) {
  const std::u16string_view units(reinterpret_cast<const char16_t*>(text.constData()),
                                  static_cast<size_t>(text.size()));
  std::optional<std::string> bytes = cp932::FromUtf16(units);
  if (!bytes) return std::nullopt;
  return CString(std::move(*bytes));
}

QString FromU8(std::u8string_view text) {
  return QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                           static_cast<qsizetype>(text.size()));
}

QString FromResource(unsigned id) {
  const std::u8string_view* text = AfxFindString(id);
  return text ? FromU8(*text) : QString();
}

QString ToQtLines(const QString& text) {
  QString out = text;
  out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

QString FromQtLines(const QString& text) {
  QString out = text;
  out.replace(QLatin1String("\n"), QLatin1String("\r\n"));
  return out;
}

}  // namespace qttext
