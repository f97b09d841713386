#include "FieldText.h"

#include <algorithm>
#include <cstring>

#include "Archive.h"

namespace vkd {
namespace {

constexpr size_t kKeyBytes = 64;      // what is kept of a field not used whole
constexpr size_t kPiece = 64 * 1024;  // what is turned into code page 932 at once

bool AppendUtf8Piece(std::string_view piece, std::string& out) {
  return AppendFromUtf8(out, piece);
}

// UTF-8 is read backwards from the limit to the start of the character there.
size_t Utf8WholeEnd(std::string_view bytes) {
  size_t end = bytes.size() - 4;
  for (int k = 0; k < 3 && end > 0 && IsContinuation(bytes[end]); ++k) --end;
  return end;
}

constexpr FieldText::Decoder kUtf8{AppendUtf8Piece, Utf8WholeEnd};

}  // namespace

FieldText::FieldText(Encoding enc) : m_decoder(enc == Encoding::Utf8 ? &kUtf8 : nullptr) {}

void FieldText::Begin(bool whole) {
  m_text.clear();
  m_text.reserve(2 * kPiece);
  m_whole = whole;
  m_cut = m_bad = false;
  m_done = 0;
  m_dropped = 0;
  m_put = m_text.data();
  m_end = m_put + (whole ? kPiece : kKeyBytes);
}

void FieldText::append(std::string_view bytes) {
  while (!bytes.empty()) {
    if (m_put == m_end) MakeRoom();
    const size_t n = std::min(bytes.size(), static_cast<size_t>(m_end - m_put));
    std::memcpy(m_put, bytes.data(), n);
    m_put += n;
    bytes.remove_prefix(n);
  }
}

void FieldText::Convert(bool last) {
  char* const text = m_text.data();
  const std::string_view given(text + m_done, static_cast<size_t>(m_put - text) - m_done);
  size_t end = given.size(), made = end;  // what is turned, and the code page 932 bytes it makes
  if (m_decoder) {
    end = last ? given.size() : m_decoder->wholeEnd(given);
    m_piece.clear();
    if (!m_decoder->append(given.substr(0, end), m_piece)) {
      m_bad = true;
      return;
    }
    // No character takes more bytes in code page 932 than it was given in.
    made = m_piece.size();
    std::memcpy(text + m_done, m_piece.data(), made);
    std::memmove(text + m_done + made, given.data() + end, given.size() - end);
  }
  m_done += made;
  if (m_done > CArchive::kLongestString) {  // too long to keep: only counted from here on
    m_dropped += m_done;
    std::memmove(text, text + m_done, given.size() - end);
    m_done = 0;
  }
  m_put = text + m_done + (given.size() - end);
}

// The room given is full: its bytes are turned into code page 932 and more room is made, or for
// a field not used whole, or that cannot be turned, the bytes are written over from then on.
void FieldText::MakeRoom() {
  if (m_whole && !m_bad) Convert(false);
  if (!m_whole || m_bad) {
    m_cut = true;
    m_put = m_text.data() + kKeyBytes;
    m_end = m_text.data() + kPiece;
    return;
  }
  const size_t at = static_cast<size_t>(m_put - m_text.data());
  m_text.reserve(at + kPiece);
  m_put = m_text.data() + at;
  m_end = m_put + kPiece;
}

FieldText::State FieldText::Finish() {
  if (!m_cut) {
    Convert(true);
    m_text.resize(static_cast<size_t>(m_put - m_text.data()));
  }
  return m_bad ? State::Bad : m_dropped > 0 ? State::Overlong : m_cut ? State::Cut : State::Whole;
}

}  // namespace vkd
