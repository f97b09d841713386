// Telling what is wrong in a damaged dictionary file, in the user's language.
#pragma once

#include <string>

#include "Context.h"
#include "DictFile.h"

namespace vkd {

// One English (or translated) line on what is wrong in a dictionary file and where.
std::string DescribeDamage(const DictReadError& e);

// Reports that arg is damaged and returns kDamaged.
int ReportDamage(const Context& c, const std::string& arg, const DictReadError& damage);

}  // namespace vkd
