// The platform's profile (INI) functions and the current directory, over code page 932 text.
// They read and write whole files through ProfileDocument; they keep no cache, so every call sees
// the file as it is on disk. Listing sections or keys (a null section or key when reading) and
// removing them are not offered: the program does neither.
#pragma once

#include "Afx.h"

// The integer value of key in section: a missing file, section or key gives defaultValue;
// otherwise an optional sign and the decimal digits up to the first other character, wrapping
// modulo 2^32 (no digits gives 0).
UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                           const char* path);

// Copies the value of key in section (or defaultValue without its trailing spaces, "" when null,
// if the file, section or key is missing) into buffer, cut to size - 1 bytes, and terminates it.
// Returns the bytes copied without the terminator; 0 with a null buffer or size 0. A null section
// or key reads as missing.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* path);

// Sets key in section to value, creating the file (not its directory) and the section as needed,
// and replaces the file atomically. Removing keys or sections (a null key or value) is not
// offered: the program never removes. FALSE, and the file unchanged, when an argument is null,
// when the file cannot be written (a missing directory or one without any write permission bit,
// also for root; a file without any write permission bit; something that is not a regular file; a
// path without an exact file system form) or the text would not read back as written (a line break,
// '=' in the key). A file that is not a regular file reads as missing.
BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* path);

// Copies the current directory, in code page 932, with its terminator into buffer and returns
// its length without the terminator. When it does not fit, buffer is left untouched and the
// size it needs (terminator included) is returned. 0 when the directory cannot be found or has
// no exact code page 932 form (see NativePath.h).
DWORD GetCurrentDirectoryA(DWORD size, char* buffer);
