#include "Settings.h"

#include "Profile.h"

CString SettingsFilePath() {
  char directory[260] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  if (length == 0 || length >= sizeof directory) return CString();
  CString path;
  path.Format("%s/Vokari.ini", directory);
  return path;
}

void WriteProfileNumber(const char* section, const char* key, int value, const char* path) {
  CString text;
  text.Format("%d", value);
  WritePrivateProfileStringA(section, key, text, path);
}
