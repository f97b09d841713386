#include "CString.h"

#include <stdexcept>

#include "Cp932.h"

CString CString::FromU8(std::u8string_view text) {
  auto bytes = cp932::FromUtf8({reinterpret_cast<const char*>(text.data()), text.size()});
  if (!bytes) throw std::logic_error("literal has no code page 932 form");
  return CString(std::move(*bytes));
}

bool CString::FromUtf8(std::string_view utf8, CString& out) {
  auto bytes = cp932::FromUtf8(utf8);
  if (!bytes) return false;
  out = CString(std::move(*bytes));
  return true;
}

std::string CString::ToUtf8() const {
  return cp932::ToUtf8Lossy(m_bytes);
}

int CString::Find(const CString& sub, int start) const {
  const size_t n = m_bytes.size();
  const size_t m = sub.m_bytes.size();
  if (start < 0 || static_cast<size_t>(start) > n) return -1;
  for (size_t i = static_cast<size_t>(start); i + m <= n;) {
    if (m_bytes.compare(i, m, sub.m_bytes) == 0) return static_cast<int>(i);
    i += cp932::IsLeadByte(static_cast<unsigned char>(m_bytes[i])) ? 2 : 1;
  }
  return -1;
}

void CString::FormatArgs(const CString& format, const Arg* args, size_t count) {
  std::string out;
  size_t next = 0;
  const std::string& f = format.m_bytes;
  for (size_t i = 0; i < f.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(f[i]);
    if (cp932::IsLeadByte(c) && i + 1 < f.size()) {  // a trail byte is never a '%'
      out += f[i];
      out += f[++i];
      continue;
    }
    if (c != '%' || i + 1 == f.size()) {
      out += f[i];
      continue;
    }
    const char conversion = f[++i];
    if (conversion == '%') {
      out += '%';
      continue;
    }
    if (next >= count) throw std::invalid_argument("Format: too few arguments");
    const Arg& a = args[next++];
    if (conversion == 's' && a.kind == Arg::kText)
      out.append(a.text);
    else if (conversion == 'd' && a.kind == Arg::kInt)
      out += std::to_string(a.value);
    else
      throw std::invalid_argument("Format: argument does not match its conversion");
  }
  if (next != count) throw std::invalid_argument("Format: too many arguments");
  m_bytes = std::move(out);
}
