// Where the earlier versions of dictionary files live, and how their files are named: one folder
// under $XDG_DATA_HOME/vokari/backups (~/.local/share/vokari/backups when it is unset) for each
// dictionary file, named by the file's name and a short hash of its real path, and in it one file
// per kept version, named by the UTC time it was kept. Every path here is the file system's
// (UTF-8) form. It only names and finds; making, listing and thinning backups is Backups.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace backupfolder {

// The folder all backups live under, from the environment; empty when neither XDG_DATA_HOME
// (an absolute path) nor HOME gives one.
std::string Root();

// The real path of file: symbolic links and "." and ".." resolved. A file that cannot be
// resolved (it is gone, say) keeps the path given, made absolute.
std::string RealPath(const std::string& file);

// The folder for the dictionary file at realFile (a real path) under root: "NAME-HASH", the
// file's name cut to 200 bytes at a character boundary and 8 hex digits of a hash of realFile.
std::string FolderFor(const std::string& root, const std::string& realFile);

// The name of a version kept at timeMs (milliseconds since 1970, UTC):
// "20261208T030303.123Z.vkd".
std::string NameAt(std::int64_t timeMs);
// The time a version's name stands for; nothing for any other name.
std::optional<std::int64_t> TimeOf(std::string_view name);

// Milliseconds since 1970, UTC, now.
std::int64_t NowMs();

}  // namespace backupfolder
