// Text at the screen's edge: code page 932 CStrings to and from the QStrings that widgets show,
// and the program's CR LF line breaks to and from Qt's LF. It keeps no state.
#pragma once

#include <QString>
#include <optional>
#include <string_view>

#include "CString.h"

namespace qttext {

// For display: bytes that are not valid code page 932 show as U+FFFD.
QString FromCp932(const CString& text);
// Empty when some character has no code page 932 form.
std::optional<CString> ToCp932(const QString& text);
// A UTF-8 template literal.
QString FromU8(std::u8string_view text);
// The text of string resource id; empty when there is none.
QString FromResource(unsigned id);

// CR LF (and a lone CR) to LF, for multi-line edits.
QString ToQtLines(const QString& text);
// LF to CR LF, reading a multi-line edit back.
QString FromQtLines(const QString& text);

}  // namespace qttext
