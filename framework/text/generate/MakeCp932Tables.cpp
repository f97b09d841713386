// Writes the code page 932 tables (see Cp932Tables.h) as a C++ source, by asking glibc's iconv
// about every code in both directions. Run by the build; its output is never edited or kept.
//   usage: make_cp932_tables OUTPUT.cpp
// It stops with a message, and writes nothing, when iconv gives something the tables cannot
// hold (a code beyond the Basic Multilingual Plane, a code of more than two bytes).
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Cp932Tables.h"

namespace {

using cp932::table::kNone;

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "make_cp932_tables: %s\n", why.c_str());
  std::exit(1);
}

// One direction of iconv; Convert gives the whole output of one complete input, or nothing
// when iconv refuses it or counts an irreversible conversion in it.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) Fail(std::string("no iconv from ") + from);
  }
  ~Iconv() { iconv_close(m_cd); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  std::optional<std::string> Convert(const std::string& in) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
    if (r != 0 || srcLeft != 0) return std::nullopt;
    return std::string(buffer, sizeof buffer - dstLeft);
  }

 private:
  iconv_t m_cd;
};

std::string Utf32(char32_t c) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((c >> (8 * i)) & 0xFF);
  return s;
}

// The one character of a UTF-32LE result as a table entry.
std::uint16_t CharOf(const std::optional<std::string>& utf32) {
  if (!utf32) return kNone;
  if (utf32->size() != 4) Fail("a code stands for more than one character");
  char32_t c = 0;
  for (int i = 3; i >= 0; --i) c = (c << 8) | static_cast<unsigned char>((*utf32)[i]);
  if (c >= kNone) Fail("a code stands for a character the tables cannot hold");
  return static_cast<std::uint16_t>(c);
}

std::uint16_t CodeOf(const std::optional<std::string>& bytes) {
  if (!bytes) return kNone;
  if (bytes->empty()) return cp932::table::kNothing;
  if (bytes->size() > 2) Fail("a character has a code of many bytes");
  std::uint16_t code = 0;
  for (unsigned char b : *bytes) code = static_cast<std::uint16_t>((code << 8) | b);
  if (code >= cp932::table::kNothing) Fail("a character has a code the tables keep for none");
  return code;
}

// The values, sixteen to a line.
void Values(std::ostringstream& out, const std::uint16_t* values, size_t n) {
  for (size_t i = 0; i < n; ++i) out << (i % 16 ? " " : "\n    ") << "0x" << values[i] << ",";
  out << "\n";
}

void WriteDecoding(std::ostringstream& out) {
  Iconv toUtf32("UTF-32LE", "CP932");
  std::vector<std::uint16_t> single(256);
  for (unsigned b = 0; b < 256; ++b) single[b] = CharOf(toUtf32.Convert(std::string(1, char(b))));
  std::vector<std::uint16_t> pairs(cp932::table::kLeads * cp932::table::kTrails, kNone);
  for (unsigned lead = 0; lead < 256; ++lead) {
    for (unsigned trail = 0; trail < 256; ++trail) {
      const std::string two{static_cast<char>(lead), static_cast<char>(trail)};
      const bool isPair = cp932::IsLeadByte(static_cast<unsigned char>(lead));
      const std::optional<std::string> utf32 = toUtf32.Convert(two);
      if (!isPair) {  // two characters of one byte each, or none
        if (utf32 && single[lead] != kNone && single[trail] != kNone) continue;
        if (!utf32 && (single[lead] == kNone || single[trail] == kNone)) continue;
        Fail("two single bytes convert unlike each on its own");
      }
      const std::uint16_t c = CharOf(utf32);
      if (c == kNone) continue;
      if (!cp932::IsTrailByte(static_cast<unsigned char>(trail))) Fail("a pair ends in no trail");
      pairs[cp932::table::PairIndex(lead, trail)] = c;
    }
  }
  out << "const std::uint16_t kSingle[256] = {\n";
  Values(out, single.data(), single.size());
  out << "};\n\nconst std::uint16_t kPairs[kLeads * kTrails] = {\n";
  Values(out, pairs.data(), pairs.size());
  out << "};\n\n";
}

void WriteEncoding(std::ostringstream& out) {
  Iconv fromUtf32("CP932", "UTF-32LE");
  std::vector<std::vector<std::uint16_t>> pages(1, std::vector<std::uint16_t>(256, kNone));
  std::vector<unsigned> pageOf(256, 0);
  for (char32_t first = 0; first < 0x10000; first += 256) {
    std::vector<std::uint16_t> page(256, kNone);
    bool any = false;
    for (char32_t c = first; c < first + 256; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      page[c - first] = CodeOf(fromUtf32.Convert(Utf32(c)));
      const std::uint16_t code = page[c - first];
      if (c < 0x80 && code > 0xFF && code < cp932::table::kNothing)
        Fail("a character takes more bytes in code page 932 than in UTF-8");
      any = any || page[c - first] != kNone;
    }
    if (!any) continue;
    pageOf[first >> 8] = static_cast<unsigned>(pages.size());
    pages.push_back(std::move(page));
  }
  // Beyond the plane iconv has no codes; it drops some characters (the tags), which must be
  // one run.
  char32_t dropped[2] = {1, 0};
  for (char32_t c = 0x10000; c <= 0x10FFFF; ++c) {
    const std::uint16_t code = CodeOf(fromUtf32.Convert(Utf32(c)));
    if (code == kNone) continue;
    if (code != cp932::table::kNothing) Fail("a character beyond the plane has a code");
    if (dropped[0] > dropped[1]) dropped[0] = c;
    if (dropped[1] != 0 && dropped[1] + 1 != c) Fail("the dropped characters are not one run");
    dropped[1] = c;
  }
  out << "const char32_t kDropped[2] = {0x" << unsigned(dropped[0]) << ", 0x"
      << unsigned(dropped[1]) << "};\n\n";
  out << "const std::uint8_t kPageOf[256] = {";
  for (size_t i = 0; i < 256; ++i) out << (i % 16 ? " " : "\n    ") << "0x" << pageOf[i] << ",";
  out << "\n};\n\nconst std::uint16_t kPages[][256] = {\n";
  for (const auto& page : pages) {
    out << "  {";
    Values(out, page.data(), page.size());
    out << "  },\n";
  }
  out << "};\n\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) Fail("usage: make_cp932_tables OUTPUT.cpp");
  std::ostringstream out;
  out << std::hex << "// Made by make_cp932_tables from glibc's iconv at build time.\n"
      << "#include \"Cp932Tables.h\"\n\nnamespace cp932::table {\n\n";
  WriteDecoding(out);
  WriteEncoding(out);
  out << "}  // namespace cp932::table\n";
  std::ofstream file(argv[1], std::ios::binary);
  file << out.str();
  if (!file.flush()) Fail(std::string("cannot write ") + argv[1]);
  return 0;
}
