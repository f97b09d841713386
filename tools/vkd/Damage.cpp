#include "Damage.h"

#include <ostream>

#include "Messages.h"

namespace vkd {
namespace {

std::string Translated(const char* english, std::initializer_list<std::string_view> args) {
  return Fmt(Tr(english), args);
}

}  // namespace

std::string DescribeDamage(const DictReadError& e) {
  return e.Describe(Translated);
}

int ReportDamage(const Context& c, const std::string& arg, const DictReadError& damage) {
  c.err << "vkd: " << Fmt(Tr("%s is damaged: %s"), {arg, DescribeDamage(damage)}) << "\n";
  return kDamaged;
}

}  // namespace vkd
