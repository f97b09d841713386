// vkd: a command-line companion for the program's dictionary files.
#include <iostream>

#include "Messages.h"
#include "Vkd.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  vkd::SetUpMessages();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return vkd::Run(args, std::cin, std::cout, std::cerr);
}
