#include "DictionaryApp.h"
#include "QtMain.h"
#include "VokariResources.h"

CDictionaryApp theApp;

int main(int argc, char** argv) {
  RegisterVokariResources();
  return QtMain(argc, argv);
}
