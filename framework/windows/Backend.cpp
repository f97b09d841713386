#include "Backend.h"

#include <stdexcept>

namespace {
IBackend* g_backend = nullptr;
}

void AfxSetBackend(IBackend* backend) {
  g_backend = backend;
}

IBackend& AfxGetBackend() {
  if (!g_backend) throw std::logic_error("no user interface backend is set");
  return *g_backend;
}
