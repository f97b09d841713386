// TempDir: a fresh directory under the system's temporary directory for one test, removed with
// everything in it afterwards, and small helpers to read and write whole files in it. It checks

#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "CString.h"

class TempDir {
 public:
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "vokari-test-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("cannot create a temporary directory");
    m_path = templ;
  }
  ~TempDir() {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Make what a test made read-only writable again, so that it goes too.
    for (auto& e : fs::recursive_directory_iterator(m_path, ec))
      if (!e.is_symlink(ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
  // The same as a string, for the interfaces that take one.
  std::string Path(const std::string& name) const { return (m_path / name).string(); }
  // The code page 932 form of a path inside this directory, as the program holds paths.
  CString Cp932Path(const std::string& utf8Name) const {
    CString out;
    EXPECT_TRUE(CString::FromUtf8((m_path / utf8Name).string(), out)) << utf8Name;
    return out;
  }

  // Names of the entries in the directory, sorted.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(m_path))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Test setup that cannot write its file throws, so that the test fails where the cause is.
inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

inline mode_t ModeOf(const std::filesystem::path& file) {
  struct stat st {};
  stat(file.c_str(), &st);
  return st.st_mode & 07777;
}
