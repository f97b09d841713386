// The profile functions: each call reads the whole file, and a write replaces the whole file.
// Settings files are a few lines long, so simplicity wins over caching.
#include "Profile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include "Cp932.h"
#include "NativePath.h"
#include "ProfileDocument.h"
#include "ReplaceFile.h"

namespace {

// The file's document; nothing when it is missing or cannot be read, which reads as missing.
std::optional<ProfileDocument> ReadProfile(const char* path) {
  if (path == nullptr) return std::nullopt;
  std::optional<std::string> native = ToNativePath(CString(path));
  if (!native) return std::nullopt;
  std::ifstream in(*native, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return ProfileDocument::Parse(bytes);
}

std::optional<std::string> FindValue(const char* section, const char* key, const char* path) {
  if (section == nullptr || key == nullptr) return std::nullopt;
  std::optional<ProfileDocument> doc = ReadProfile(path);
  if (!doc) return std::nullopt;
  std::optional<std::string_view> value = doc->Find(section, key);
  if (!value) return std::nullopt;
  return std::string(*value);
}

// The current contents of the file at native, "" for a missing file; nothing when the file may
// not be replaced. A file without any write permission bit is read-only here even for root, as
// on the original platform.
std::optional<std::string> ContentsToReplace(const std::string& native) {
  struct stat st {};
  if (stat(native.c_str(), &st) != 0) {
    if (errno == ENOENT) return std::string();
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return std::nullopt;
  }
  std::ifstream in(native, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                           const char* path) {
  std::optional<std::string> value = FindValue(section, key, path);
  if (!value) return static_cast<UINT>(defaultValue);
  return profile::ParseInt(*value);
}

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* path) {
  if (buffer == nullptr || size == 0) return 0;
  std::optional<std::string> found = FindValue(section, key, path);
  std::string_view value = found ? *found : std::string_view(defaultValue ? defaultValue : "");
  // Cut at a byte count, as the platform does; this may split a double-byte character at the
  // end, which the program accepts (its 260-byte buffer holds any path it writes).
  size_t n = std::min<size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* path) {
  if (section == nullptr || path == nullptr) return FALSE;
  std::optional<std::string> native = ToNativePath(CString(path));
  if (!native) return FALSE;
  std::optional<std::string> old = ContentsToReplace(*native);
  if (!old) return FALSE;
  ProfileDocument doc = ProfileDocument::Parse(*old);
  if (key == nullptr) {
    if (!doc.RemoveSection(section)) return TRUE;
  } else if (value == nullptr) {
    if (!doc.RemoveKey(section, key)) return TRUE;
  } else if (!doc.Set(section, key, value)) {
    return FALSE;
  }
  return ReplaceFileContents(*native, doc.Serialize()) ? TRUE : FALSE;
}

DWORD GetCurrentDirectoryA(DWORD size, char* buffer) {
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  if (error) return 0;
  // A directory whose name does not convert exactly would put the settings file in another one.
  std::optional<CString> text = FromNativePath(current.string());
  if (!text) return 0;
  const std::string& bytes = text->Bytes();
  if (buffer == nullptr || bytes.size() >= size) return static_cast<DWORD>(bytes.size() + 1);
  std::memcpy(buffer, bytes.data(), bytes.size());
  buffer[bytes.size()] = '\0';
  return static_cast<DWORD>(bytes.size());
}
