#include "Context.h"

#include <ostream>

namespace vkd {

int Context::Error(const std::string& message) const {
  err << "vkd: " << message << "\n";
  return kTrouble;
}

}  // namespace vkd
