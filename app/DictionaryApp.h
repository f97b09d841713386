// CDictionaryApp: the application object. It runs the main window once, modally, and ends the
// program when the window ends. It also answers the help command.
#pragma once

#include "WinApp.h"

class CDictionaryApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  bool OnCmdMsg(UINT id, bool run = true) override;
};
