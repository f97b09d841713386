#include "TextBuffer.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

constexpr size_t kSmallest = 64 * 1024;  // a multiple of the page size
constexpr size_t kKept = 1 << 20;        // room that clear keeps
constexpr size_t kPiece = 1 << 20;       // what Take copies before giving pages back

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kCheckedBounds = true;
#elif defined(__has_feature)
constexpr bool kCheckedBounds = __has_feature(address_sanitizer);
#else
constexpr bool kCheckedBounds = false;
#endif

TextBuffer::~TextBuffer() {
  Unmap();
}

void TextBuffer::Unmap() {
  if (!m_data) return;
  ASAN_UNPOISON_MEMORY_REGION(m_data, m_room);
  munmap(m_data, m_room);
  m_data = nullptr;
  m_capacity = m_room = 0;
}

// The room doubles, in whole pages of its own; mremap moves the pages, not the bytes, and room
// not yet written to takes no memory.
void TextBuffer::Grow(size_t n) {
  if (n > (size_t{1} << 62)) throw std::bad_alloc();
  if (n > m_room) {
    size_t room = std::max(kSmallest, m_room);
    while (room < n) room *= 2;
    Map(room);
  }
  if (!kCheckedBounds) {
    m_capacity = m_room;
    return;
  }
  const size_t allowed = std::min(m_room, (n + 7) & ~size_t{7});
  ASAN_UNPOISON_MEMORY_REGION(m_data, allowed);
  ASAN_POISON_MEMORY_REGION(m_data + allowed, m_room - allowed);
  m_capacity = allowed;
}

void TextBuffer::Map(size_t room) {
  ASAN_UNPOISON_MEMORY_REGION(m_data, m_room);
  void* p = m_data
                ? mremap(m_data, m_room, room, MREMAP_MAYMOVE)
                : mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  m_data = static_cast<char*>(p);
  m_room = room;
}

void TextBuffer::append(std::string_view bytes) {
  const size_t at = m_size;
  resize(at + bytes.size());
  if (!bytes.empty()) std::memcpy(m_data + at, bytes.data(), bytes.size());
}

void TextBuffer::clear() {
  m_size = 0;
  if (m_room > kKept) Unmap();
}

void TextBuffer::ReleaseBefore(size_t offset) {
  if (m_room <= kKept) return;  // small room is kept for the next text, as clear keeps it
  static const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t whole = std::min(offset, m_size) / page * page;
  if (whole > 0) madvise(m_data, whole, MADV_DONTNEED);
}

void TextBuffer::swap(TextBuffer& other) noexcept {
  std::swap(m_data, other.m_data);
  std::swap(m_size, other.m_size);
  std::swap(m_capacity, other.m_capacity);
  std::swap(m_room, other.m_room);
}

std::string TextBuffer::Take() {
  std::string out;
  out.reserve(m_size);  // taken by the system only as it is written
  for (size_t at = 0; at < m_size; at += kPiece) {
    const size_t n = std::min(kPiece, m_size - at);
    out.append(m_data + at, n);
    if (n == kPiece) madvise(m_data + at, kPiece, MADV_DONTNEED);  // the room is page-aligned
  }
  clear();
  return out;
}
