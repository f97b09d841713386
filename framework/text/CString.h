// CString: a string of code page 932 bytes, the text type of the whole program. Lengths are
// bytes; Find moves by whole characters. It does no conversion of its own except where asked
// (FromU8 for the program's UTF-8 literals, ToUtf8 for display and tools).
#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

class CString {
 public:
  CString() = default;
  CString(const char* bytes) : m_bytes(bytes ? bytes : "") {}  // NOLINT: code page 932 bytes
  CString(std::string bytes) : m_bytes(std::move(bytes)) {}    // NOLINT
  CString(std::string_view bytes) : m_bytes(bytes) {}          // NOLINT
  CString(const char* bytes, size_t n) : m_bytes(bytes, n) {}

  // A UTF-8 literal of the program's source, converted once to code page 932. Text outside
  // the code page is a programming error and throws.
  static CString FromU8(std::u8string_view text);
  // UTF-8 from the outside world (a tool's input, a typed text): false when it has no
  // code page 932 form.
  static bool FromUtf8(std::string_view utf8, CString& out);

  int GetLength() const { return static_cast<int>(m_bytes.size()); }
  bool IsEmpty() const { return m_bytes.empty(); }
  // Gives the text's memory back as well, so that an emptied word book holds none.
  void Empty() { std::string().swap(m_bytes); }
  const char* GetString() const { return m_bytes.c_str(); }
  operator const char*() const { return m_bytes.c_str(); }  // NOLINT: as the framework's LPCTSTR
  const std::string& Bytes() const { return m_bytes; }
  std::string ToUtf8() const;  // for display; unconvertible bytes become U+FFFD

  // Index of the first occurrence of sub at or after byte start, moving by whole characters so
  // that a match never begins on the trail byte of a double-byte character; -1 when none.
  int Find(const CString& sub, int start = 0) const;

  // Loads string resource id; false (and empty) when there is none. Defined with the string
  // table in the windows library, so only code linking that library calls it.
  bool LoadString(unsigned id);

  // Type-safe printf subset: %s takes a CString or const char*, %d an integer, %% a percent.
  template <typename... Args>
  void Format(const CString& format, const Args&... args) {
    const Arg list[] = {Arg(args)..., Arg()};
    FormatArgs(format, list, sizeof...(Args));
  }

  CString& operator+=(const CString& other) {
    m_bytes += other.m_bytes;
    return *this;
  }
  friend CString operator+(CString a, const CString& b) { return a += b; }
  friend CString operator+(CString a, const char* b) { return a += CString(b); }
  friend CString operator+(const char* a, const CString& b) { return CString(a) += b; }
  friend bool operator==(const CString& a, const CString& b) { return a.m_bytes == b.m_bytes; }
  friend bool operator==(const CString& a, const char* b) { return a.m_bytes == b; }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
    return a.m_bytes <=> b.m_bytes;
  }

 private:
  struct Arg {
    enum Kind { kNone, kText, kInt } kind = kNone;
    std::string_view text;
    long long value = 0;
    Arg() = default;
    Arg(const CString& s) : kind(kText), text(s.m_bytes) {}  // NOLINT
    Arg(const char* s) : kind(kText), text(s ? s : "") {}    // NOLINT
    template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
    Arg(T v) : kind(kInt), value(static_cast<long long>(v)) {}  // NOLINT
  };
  void FormatArgs(const CString& format, const Arg* args, size_t count);

  std::string m_bytes;
};

// The program's Japanese literals: U8 gives the code page 932 CString of a UTF-8 literal.
inline CString U8(std::u8string_view text) {
  return CString::FromU8(text);
}
