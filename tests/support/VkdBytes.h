// Dictionary files made by hand for tests, byte by byte from the file format's tables, so that
// tests do not depend on the program's own writer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The length prefix of an archive string of n bytes.
inline std::string VkdPrefix(std::uint64_t n) {
  std::string p;
  auto le = [&p](std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  if (n < 0xFF) {
    le(n, 1);
  } else if (n < 0xFFFE) {
    p += '\xFF';
    le(n, 2);
  } else {
    p += "\xFF\xFF\xFF";
    le(n, 4);
  }
  return p;
}

inline std::string VkdString(const std::string& bytes) {
  return VkdPrefix(bytes.size()) + bytes;
}

inline std::string VkdCount(std::int32_t count) {
  std::string c(4, '\0');
  const auto u = static_cast<std::uint32_t>(count);
  for (int i = 0; i < 4; ++i) c[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
  return c;
}

// A whole file: name, count, then each word and meaning (all code page 932 bytes).
inline std::string VkdFile(const std::string& name,
                           const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string f = VkdString(name) + VkdCount(static_cast<std::int32_t>(entries.size()));
  for (const auto& [word, meaning] : entries) f += VkdString(word) + VkdString(meaning);
  return f;
}
