// vkd: a command-line companion for the program's dictionary files.
#include <malloc.h>

#include <iostream>

#include "Messages.h"
#include "Vkd.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  // Entries of 64 KiB come and go 2048 times in a large file: keep freed memory for the next
  // one rather than giving it back to the system and faulting it in again each time.
  mallopt(M_MMAP_THRESHOLD, 16 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
  vkd::SetUpMessages();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return vkd::Run(args, std::cin, std::cout, std::cerr);
}
