// vkd's messages in the user's language: English in the source, Japanese from the catalogue
// installed beside the program when the locale asks for Japanese. The window's texts are the
// program's own resources and never come through here.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a message for the catalogue where it is stored, to be translated where it is used.
#define N_(text) text

namespace vkd {

// Sets the locale from the environment and finds the catalogue. A Japanese locale that is not
// installed on this system (LANG=ja_JP.UTF-8 on a fresh one) still gives Japanese messages.
void SetUpMessages();

// The translation of an English message; the message itself when there is none.
const char* Tr(const char* english);
// The form of a message for n of something.
const char* TrN(const char* singular, const char* plural, unsigned long n);

// text with each %s replaced by the next of args, in order.
std::string Fmt(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace vkd
