// The word book the benchmarks load and save: by default all 1024 entries, each with a 64 KiB
// meaning, about 64 MiB in its file.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "DictIo.h"

namespace benchbook {

constexpr size_t kMeaningSize = 64 * 1024;

inline std::unique_ptr<CDictData> Make(const char* name = "bench",
                                       size_t meaningSize = kMeaningSize,
                                       int count = CDictData::MAX_WORDS) {
  auto book = std::make_unique<CDictData>();
  book->m_strName = name;
  book->m_nCount = count;
  for (int i = 0; i < count; ++i) {
    book->m_strWord[i] = CString("word" + std::to_string(i));
    std::string meaning(meaningSize, 'a');
    for (size_t j = 0; j < meaning.size(); j += 61) meaning[j] = static_cast<char>('a' + i % 26);
    book->m_strMeaning[i] = CString(std::move(meaning));
  }
  return book;
}

inline void Write(const CDictData& book, const std::string& path) {
  CFile file;
  if (!WriteDictionaryFile(file, CString(path), book).ok()) std::abort();
}

}  // namespace benchbook
