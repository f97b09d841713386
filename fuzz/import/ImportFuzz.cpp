// libFuzzer entry point: imports arbitrary bytes as TSV, CSV or JSON.
#include <cstddef>
#include <cstdint>

#include "ImportFuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckImportBytes(data, size);
  return 0;
}
