#include "Importer.h"

#include <cstring>

#include "Messages.h"

namespace vkd {
namespace {

// Whether text holds an LF without a CR before it or a CR without an LF after it.
bool HasLoneBreak(std::string_view text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p)
    if (p == begin || p[-1] != '\r') return true;
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p)
    if (p + 1 == end || p[1] != '\n') return true;
  return false;
}

// A lone LF or CR becomes CR LF. Neither byte is ever a trail byte, so the bytes are walked
// one by one in either encoding.
void StoreLineBreaks(std::string& text) {
  if (!HasLoneBreak(text)) return;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += "\r\n";
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  text = std::move(out);
}

}  // namespace

std::string LineLabel(size_t n) {
  return Fmt(Tr("line %s: "), {std::to_string(n)});
}

bool Importer::Decode(std::string_view text, std::string& bytes, std::string& error) const {
  bytes.clear();
  if (m_enc == Encoding::Cp932) {  // the bytes are stored as they are
    bytes.append(text);
    return true;
  }
  if (AppendFromUtf8(bytes, text)) return true;
  error = Tr("text that is not UTF-8 or that code page 932 cannot hold");
  return false;
}

Importer::~Importer() {
  Stop();
}

void Importer::Stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  if (m_worker.joinable()) m_worker.join();
}

bool Importer::Add(std::string& word, std::string& meaning, std::string_view label,
                   std::string& error) {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [&] { return m_queued < kQueue || m_failed; });
  if (m_thrown) std::rethrow_exception(m_thrown);
  if (m_failed) return error = m_failure, false;
  if (m_count == CDictData::MAX_WORDS) {
    error = std::string(label) +
            Fmt(Tr("more than %s entries"), {std::to_string(CDictData::MAX_WORDS)});
    return false;
  }
  // The free job is the reader's alone until it is queued.
  Job& job = m_jobs[(m_first + m_queued) % kQueue];
  lock.unlock();
  job.word.swap(word);
  job.meaning.swap(meaning);
  job.label.assign(label);
  lock.lock();
  ++m_queued;
  ++m_count;
  if (!m_worker.joinable()) m_worker = std::thread([this] { Work(); });
  // Waking the worker costs the reader a system call: it is woken for two entries at a time.
  const bool wake = m_queued >= kWakeAt;
  lock.unlock();
  if (wake) m_changed.notify_all();
  return true;
}

bool Importer::Finish(std::string& error) {
  {
    std::unique_lock lock(m_mutex);
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_queued == 0; });
  }
  Stop();
  if (m_thrown) std::rethrow_exception(m_thrown);
  if (m_failed) error = m_failure;
  return !m_failed;
}

// The worker: makes the queued entries in turn until told to stop. After a failure, or told to
// stop with entries still queued, it only empties the queue.
void Importer::Work() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [&] { return m_queued > 0 || m_stop; });
    if (m_queued == 0) return;
    Job& job = m_jobs[m_first];
    const bool make = !m_failed && !m_stop;  // stopped early: the rest is dropped
    lock.unlock();
    std::string why;
    bool made = true;
    std::exception_ptr thrown;
    if (make) {
      try {
        made = Make(job, why);
      } catch (...) {
        thrown = std::current_exception();
      }
    }
    lock.lock();
    if (thrown || !made) {
      m_failed = true;
      m_thrown = thrown;
      m_failure = job.label + why;
    }
    m_first = (m_first + 1) % kQueue;
    --m_queued;
    m_changed.notify_all();
  }
}

bool Importer::Make(Job& job, std::string& error) {
  if (!Decode(job.word, m_word, error) || !Decode(job.meaning, m_meaning, error)) return false;
  if (!m_keepLineBreaks) StoreLineBreaks(m_meaning);
  return m_sink.Add(m_word, m_meaning, error);
}

bool Importer::SetName(std::string_view name, std::string& error) {
  std::string bytes;
  if (!Decode(name, bytes, error)) return false;
  m_name = CString(std::move(bytes));
  return true;
}

}  // namespace vkd
