// Bytes in room of their own that grows without them being copied (the system moves the pages),
// so that a long text is never held twice while it grows, and that is given back once a long
// text is done with. It holds bytes and nothing else; it is no general container.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TextBuffer {
 public:
  TextBuffer() = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  ~TextBuffer();

  char* data() { return m_data; }
  const char* data() const { return m_data; }
  size_t size() const { return m_size; }
  std::string_view view() const { return {m_data, m_size}; }

  // Sets the size; bytes past the old size are left as the room holds them. Growing throws
  // std::bad_alloc when the system has no more memory to give.
  void resize(size_t n) {
    if (n > m_capacity) Grow(n);
    m_size = n;
  }
  // Room for n bytes, so that writing up to data() + n needs no growing.
  void reserve(size_t n) {
    if (n > m_capacity) Grow(n);
  }
  void append(std::string_view bytes);
  void push_back(char c) {
    if (m_size == m_capacity) Grow(m_size + 1);
    m_data[m_size++] = c;
  }
  // Empties it, giving large room back.
  void clear();
  // Gives back the memory of the whole pages before offset, whose bytes are done with: they
  // read as zeros from then on. Room that clear would keep is kept.
  void ReleaseBefore(size_t offset);
  void swap(TextBuffer& other) noexcept;
  // The bytes as a string of just their size, this room's pages given back as they are copied
  // so that they are held about once; leaves it empty.
  std::string Take();

 private:
  // Makes room for n bytes. Under AddressSanitizer the room past what was asked for stays out
  // of bounds, so that writing there is caught.
  void Grow(size_t n);
  void Map(size_t room);
  void Unmap();

  char* m_data = nullptr;
  size_t m_size = 0;
  size_t m_capacity = 0;
  size_t m_room = 0;  // the pages mapped
};
