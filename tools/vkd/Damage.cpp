#include "Damage.h"

#include <ostream>

#include "Messages.h"

namespace vkd {
namespace {

std::string FieldName(const DictReadError& e) {
  const std::string entry = std::to_string(e.entry);
  if (e.field == "name") return Tr("the name");
  if (e.field == "count") return Tr("the count");
  if (e.field == "word") return Fmt(Tr("the word of entry %s"), {entry});
  return Fmt(Tr("the meaning of entry %s"), {entry});
}

}  // namespace

std::string DescribeDamage(const DictReadError& e) {
  const std::string what = FieldName(e);
  const std::string at = std::to_string(e.offset);
  const std::string end = std::to_string(e.fileSize);
  switch (e.kind) {
    case DictReadError::EndOfFile:
      if (e.field == "count")
        return Fmt(Tr("the count at offset %s needs 4 bytes, and the file ends at %s"), {at, end});
      if (e.lengthKnown) {
        return Fmt(Tr("%s announces %s bytes at offset %s, and the file ends at %s"),
                   {what, std::to_string(e.announced), at, end});
      }
      return Fmt(Tr("%s at offset %s has an incomplete length, and the file ends at %s"),
                 {what, at, end});
    case DictReadError::BadCount:
      return Fmt(
          Tr("the count at offset %s is %s, outside 0 to %s"),
          {at, std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(e.announced))),
           std::to_string(CDictData::MAX_WORDS)});
    case DictReadError::BadText:
      return Fmt(Tr("%s at offset %s holds UTF-16 text that code page 932 cannot hold"),
                 {what, at});
    case DictReadError::ReadFailure:
      return Fmt(Tr("reading %s at offset %s failed: %s"), {what, at, e.detail});
  }
  return what;
}

int ReportDamage(const Context& c, const std::string& arg, const DictReadError& damage) {
  c.err << "vkd: " << Fmt(Tr("%s is damaged: %s"), {arg, DescribeDamage(damage)}) << "\n";
  return kDamaged;
}

}  // namespace vkd
