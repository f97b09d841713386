// UTF-8 to code page 932 as vkd imports it, a character at a time through a table of the code
// points met so far. Each page of 256 code points is filled when a character in it is first met,
// by asking the framework's converter about every code point in the page and adding the
// platform's five extra characters (see Text.h), so the result is exactly what that converter
// and the extras give, without its cost per string. It knows nothing of formats; one per thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vkd {

class Cp932Encoder {
 public:
  // Appends the code page 932 form of utf8 to out; false, with out as it was, for bytes that are
  // not UTF-8 or a character that the code page cannot hold.
  bool Append(std::string& out, std::string_view utf8);

 private:
  // A code page 932 code (below 0x100 one byte, else two), or kNone.
  using Page = std::array<std::uint16_t, 256>;
  static constexpr std::uint16_t kNone = 0xFFFF;

  const Page& PageOf(char32_t cp) {
    const Page* page = m_pages[cp >> 8].get();
    return page ? *page : Fill(cp);
  }
  static std::uint16_t CodeOf(std::string_view bytes);
  // Fills the page of cp from the converter.
  const Page& Fill(char32_t cp);

  std::array<std::unique_ptr<Page>, 256> m_pages;  // the Basic Multilingual Plane
  std::unique_ptr<char[]> m_scratch;
  size_t m_room = 0;
};

}  // namespace vkd
