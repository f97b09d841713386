// backups: the versions of a dictionary file that its saves kept, newest first, each with its
// time and what it holds, so that show, diff and the user's scripts can reach them.
#include <time.h>

#include <cstring>
#include <ostream>

#include "BackupFolder.h"
#include "Commands.h"
#include "Damage.h"
#include "KeptVersions.h"
#include "Messages.h"

namespace vkd {
namespace {

// Local time with its offset from UTC: "2026-12-08 12:03:03 +0900".
std::string LocalTime(std::int64_t timeMs) {
  const time_t seconds = static_cast<time_t>(timeMs / 1000);
  struct tm local {};
  localtime_r(&seconds, &local);
  char text[40];
  strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
  return text;
}

std::string Holds(const KeptVersion& v) {
  if (v.verdict.ok())
    return Fmt(TrN("%s entry", "%s entries", static_cast<unsigned long>(v.count)),
               {std::to_string(v.count)});
  if (v.verdict.kind == DictIoResult::CannotOpen)
    return Fmt(Tr("cannot be read: %s"), {std::strerror(v.verdict.osError)});
  return Fmt(Tr("damaged: %s"), {DescribeDamage(v.verdict.damage)});
}

}  // namespace

int Backups(const Context& c, const Options& o) {
  if (o.positional.size() != 1)
    return c.Error(Tr("backups takes one FILE (see vkd backups --help)"));
  const std::string& arg = o.positional[0];
  if (arg == "-") return c.Error(Tr("backups needs the dictionary's path, not standard input"));
  const std::vector<KeptVersion> versions = ListKeptVersions(backupfolder::Root(), arg);
  if (versions.empty()) {
    c.err << "vkd: " << Fmt(Tr("no earlier versions of %s are kept"), {arg}) << "\n";
    return kNoVersions;
  }
  for (const KeptVersion& v : versions)
    c.out << v.backup.path << '\t' << LocalTime(v.backup.timeMs) << '\t' << Holds(v) << '\n';
  return kOk;
}

}  // namespace vkd
