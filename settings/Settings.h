// Where the settings file lies and how numbers are written to it. The reading of the settings at
// start belongs to the main window; this folder only knows the file.
#pragma once

#include "CString.h"

// The settings file of this run: the current directory followed by "/Vokari.ini". Empty when
// the current directory cannot be fetched into 260 bytes, which then behaves like a settings
// file that does not exist and cannot be written.
CString SettingsFilePath();

// Writes value as "%d" to key in section of the settings file at path. A failed write goes
// unnoticed, as every settings write does.
void WriteProfileNumber(const char* section, const char* key, int value, const char* path);
