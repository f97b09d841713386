// libFuzzer entry for the profile parser: any bytes must parse, and the round-trip properties of
// CheckProfileRoundTrip must hold. It does no file input or output.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProfileRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string failure =
      CheckProfileRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!failure.empty()) {
    std::fprintf(stderr, "profile round trip: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
