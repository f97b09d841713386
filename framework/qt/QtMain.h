// QtMain: the program's start on Qt. It checks for a display, sets up the QApplication (name,
// icon, font, Japanese translation), installs the Qt backend and runs the application object.
// It does not create the application object; the program's main() owns that.
#pragma once

class QApplication;

int QtMain(int argc, char** argv);

// What QtMain does to its QApplication: name, icon, font, Japanese translation.
void SetUpApplication(QApplication& app);
