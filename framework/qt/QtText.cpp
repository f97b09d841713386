#include "QtText.h"

#include <vector>

#include "Cp932.h"
#include "Resources.h"

namespace qttext {

namespace {

constexpr char16_t kInvalid = 0xFFFD;

// Every code of code page 932 and the character it stands for, worked out once through the
// codec: single bytes at their byte, double-byte codes at lead * 256 + trail. Display needs
// this fast, as the word list shows up to 1024 words at a time.
class DecodeTable {
 public:
  DecodeTable() : m_codes(65536, kInvalid) {
    for (unsigned b = 0; b < 256; ++b) {
      const char one[] = {static_cast<char>(b)};
      if (!cp932::IsLeadByte(static_cast<unsigned char>(b))) m_codes[b] = Decode({one, 1});
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        const char two[] = {static_cast<char>(lead), static_cast<char>(trail)};
        m_codes[lead * 256 + trail] = Decode({two, 2});
      }
    }
  }
  char16_t operator[](unsigned code) const { return m_codes[code]; }

 private:
  static char16_t Decode(std::string_view bytes) {
    const std::optional<std::string> utf8 = cp932::ToUtf8(bytes);
    if (!utf8) return kInvalid;
    const QString text = QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));
    return text.size() == 1 ? static_cast<char16_t>(text[0].unicode()) : kInvalid;
  }
  std::vector<char16_t> m_codes;
};

}  // namespace

QString FromCp932(const CString& text) {
  static const DecodeTable table;
  const std::string& bytes = text.Bytes();
  QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* to = out.data();
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    // A lead byte takes the next byte with it; a pair that is no character shows as one U+FFFD.
    if (cp932::IsLeadByte(b) && i + 1 < bytes.size())
      *to++ = QChar(table[b * 256u + static_cast<unsigned char>(bytes[++i])]);
    else
      *to++ = QChar(cp932::IsLeadByte(b) ? kInvalid : table[b]);
  }
  out.truncate(static_cast<qsizetype>(to - out.constData()));
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
