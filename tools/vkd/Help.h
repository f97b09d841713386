// vkd's help texts, in the user's language: the whole help (the source of the man page too) and
// each command's own part of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vkd {

std::string Usage();
// "usage: " and the command's part of Usage; nullopt for no such command.
std::optional<std::string> CommandHelp(std::string_view command);

}  // namespace vkd
