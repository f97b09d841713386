#include "QtText.h"

#include "Cp932.h"

namespace qttext {

QString FromCp932(const CString& text) {
  const std::string& bytes = text.Bytes();
  // Most of the program's text is plain ASCII; it needs no trip through iconv.
  bool ascii = true;
  for (unsigned char c : bytes) {
    if (c >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  const std::string utf8 = cp932::ToUtf8Lossy(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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
