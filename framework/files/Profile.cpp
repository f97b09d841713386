// The profile functions: each call reads the whole file, and a write replaces the whole file.
// Settings files are a few lines long, so simplicity wins over caching.
#include "Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "NativePath.h"
#include "ProfileDocument.h"
#include "ReplaceFile.h"

namespace {

// The bytes of the settings file at native; nothing when it is missing, cannot be read or is not
// a regular file (a directory, a FIFO, a device), all of which read as a missing file. The open
// never blocks, and the file is read to its end in steps, so memory follows its real size.
std::optional<std::string> ReadRegularFile(const std::string& native) {
  const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat st {};
  try {
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
      bytes.emplace();
      bytes->reserve(static_cast<size_t>(st.st_size));
      char chunk[16384];
      for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) bytes.reset();
        if (n <= 0) break;
        bytes->append(chunk, static_cast<size_t>(n));
      }
    }
  } catch (const std::bad_alloc&) {
    bytes.reset();  // too big to hold: as unreadable as a damaged disk
  }
  close(fd);
  return bytes;
}

// The file's document; nothing when it is missing or cannot be read, which reads as missing.
std::optional<ProfileDocument> ReadProfile(const char* path) {
  if (path == nullptr) return std::nullopt;
  std::optional<std::string> native = ToNativePath(CString(path));
  if (!native) return std::nullopt;
  std::optional<std::string> bytes = ReadRegularFile(*native);
  if (!bytes) return std::nullopt;
  return ProfileDocument::Parse(std::move(*bytes));
}

std::optional<std::string> FindValue(const char* section, const char* key, const char* path) {
  if (section == nullptr || key == nullptr) return std::nullopt;
  std::optional<ProfileDocument> doc = ReadProfile(path);
  if (!doc) return std::nullopt;
  std::optional<std::string_view> value = doc->Find(section, key);
  if (!value) return std::nullopt;
  return std::string(*value);
}

// The current contents of the file at native, nothing for a missing file; false when the file
// may not be replaced. A file without any write permission bit is read-only here even for root,
// as on the original platform.
bool ContentsToReplace(const std::string& native, std::optional<std::string>& contents) {
  struct stat st {};
  if (stat(native.c_str(), &st) != 0) return errno == ENOENT;
  if (!S_ISREG(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  contents = ReadRegularFile(native);
  return contents.has_value();
}

// A default value loses its trailing spaces, as on the platform.
std::string_view DefaultValue(const char* text) {
  std::string_view value = text ? text : "";
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  return value;
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
  std::string_view value = found ? std::string_view(*found) : DefaultValue(defaultValue);
  // Cut at a byte count, as the platform does; this may split a double-byte character at the
  // end, which the program accepts (its 260-byte buffer holds any path it writes).
  size_t n = std::min<size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

namespace {

// WritePrivateProfileStringA without its guard against exhausted memory.
BOOL WriteProfile(const char* section, const char* key, const char* value, const char* path) {
  if (section == nullptr || key == nullptr || value == nullptr || path == nullptr) return FALSE;
  std::optional<std::string> native = ToNativePath(CString(path));
  if (!native) return FALSE;
  std::optional<std::string> old;
  if (!ContentsToReplace(*native, old)) return FALSE;
  if (!old) old.emplace();
  ProfileDocument doc = ProfileDocument::Parse(std::move(*old));
  if (!doc.Set(section, key, value)) return FALSE;
  return ReplaceFileContents(*native, doc.Serialize()) ? TRUE : FALSE;
}

}  // namespace

BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* path) {
  try {
    return WriteProfile(section, key, value, path);
  } catch (const std::bad_alloc&) {
    return FALSE;  // the file is as it was: replacing it is the last step
  }
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
