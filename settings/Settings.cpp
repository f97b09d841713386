#include "Settings.h"

#include "Profile.h"

namespace {
constexpr char kSection[] = "General";
constexpr char kLastFileOpen[] = "LastFileOpen";
constexpr char kIfAddSave[] = "IfAddSave";
constexpr char kLastPath[] = "LastPath";
constexpr char kKeepBackups[] = "KeepBackups";
constexpr char kSearchFold[] = "SearchFold";
constexpr char kSearchMeanings[] = "SearchMeanings";

// Writes value as "%d" to key in section of the settings file at path.
void WriteProfileNumber(const char* section, const char* key, int value, const char* path) {
  CString text;
  text.Format("%d", value);
  WritePrivateProfileStringA(section, key, text, path);
}
}  // namespace

CString SettingsFilePath() {
  char directory[260] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  if (length == 0 || length >= sizeof directory) return CString();
  CString path;
  path.Format("%s/Vokari.ini", directory);
  return path;
}

StoredSettings ReadSettings(const CString& iniPath) {
  StoredSettings s;
  s.lastFileOpen = static_cast<int>(GetPrivateProfileIntA(kSection, kLastFileOpen, 0, iniPath));
  s.ifAddSave = static_cast<int>(GetPrivateProfileIntA(kSection, kIfAddSave, 0, iniPath));
  s.keepBackups = GetPrivateProfileIntA(kSection, kKeepBackups, 1, iniPath) != 0 ? 1 : 0;
  s.searchFold = static_cast<int>(GetPrivateProfileIntA(kSection, kSearchFold, 0, iniPath));
  s.searchMeanings = static_cast<int>(GetPrivateProfileIntA(kSection, kSearchMeanings, 0, iniPath));
  if (s.lastFileOpen) {
    char lastPath[260] = {};
    if (GetPrivateProfileStringA(kSection, kLastPath, "", lastPath, sizeof lastPath, iniPath) > 1)
      s.lastPath = CString(lastPath);
  }
  return s;
}

void RememberLastPath(const CString& iniPath, const CString& path) {
  WritePrivateProfileStringA(kSection, kLastPath, path, iniPath);
}

void ForgetLastPath(const CString& iniPath) {
  WritePrivateProfileStringA(kSection, kLastPath, "", iniPath);
}

void StoreOptions(const CString& iniPath, int lastFileOpen, int ifAddSave) {
  WriteProfileNumber(kSection, kLastFileOpen, lastFileOpen, iniPath);
  WriteProfileNumber(kSection, kIfAddSave, ifAddSave, iniPath);
}

void StoreKeepBackups(const CString& iniPath, int keepBackups) {
  WriteProfileNumber(kSection, kKeepBackups, keepBackups, iniPath);
}

void StoreSearchFold(const CString& iniPath, int fold) {
  WriteProfileNumber(kSection, kSearchFold, fold, iniPath);
}

void StoreSearchMeanings(const CString& iniPath, int meanings) {
  WriteProfileNumber(kSection, kSearchMeanings, meanings, iniPath);
}
