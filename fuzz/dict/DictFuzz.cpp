// libFuzzer entry point: reads a dictionary from arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "DictFuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckDictionaryBytes(data, size);
  return 0;
}
