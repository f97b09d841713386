// The settings file: where it lies, its one section and keys, and the named reads and
// writes the program makes of it. Every read and write goes through the profile functions, so
// the bytes on disk are theirs; a failed write goes unnoticed, as every settings write does.
// This folder knows nothing of the window or of dictionary files.
#pragma once

#include "CString.h"

// The settings file of this run: the current directory followed by "/Vokari.ini". Empty when
// the current directory cannot be fetched into 260 bytes, which then behaves like a settings
// file that does not exist and cannot be written.
CString SettingsFilePath();

// The settings as read at start. lastPath is read only when lastFileOpen is on, and kept only
// when it is at least 2 bytes long; otherwise it is empty. keepBackups is on unless the file
// says 0. The two options of the search, searchFold and searchMeanings, are off when missing.
struct StoredSettings {
  int lastFileOpen = 0;
  int ifAddSave = 0;
  CString lastPath;
  int keepBackups = 1;
  int searchFold = 0;
  int searchMeanings = 0;
};

StoredSettings ReadSettings(const CString& iniPath);

// Stores path as the dictionary to reopen at the next start.
void RememberLastPath(const CString& iniPath, const CString& path);
// Empties the remembered path; the key stays in the file with an empty value.
void ForgetLastPath(const CString& iniPath);
// Stores the two options as "%d".
void StoreOptions(const CString& iniPath, int lastFileOpen, int ifAddSave);

// Stores whether each save keeps the version it replaces, as "%d".
void StoreKeepBackups(const CString& iniPath, int keepBackups);

// Store the search options "SearchFold" and "SearchMeanings", as "%d".
void StoreSearchFold(const CString& iniPath, int fold);
void StoreSearchMeanings(const CString& iniPath, int meanings);
