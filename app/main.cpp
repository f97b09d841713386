#include <iostream>
#include <system_error>

#include "CommandLine.h"
#include "DictionaryApp.h"
#include "QtMain.h"
#include "VokariResources.h"

CDictionaryApp theApp;

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::error_code failed;
  const StartRequest request = ParseCommandLine(args, std::filesystem::current_path(failed));
  if (request.kind != StartRequest::OpenWindow)
    return AnswerWithoutWindow(request, std::cout, std::cerr);
  if (request.hasFile) theApp.OpenAtStart(request.file);
  RegisterVokariResources();
  // The arguments are the program's alone: Qt sees none of them.
  return QtMain(1, argv);
}
