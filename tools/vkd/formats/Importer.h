// What every import shares: the "line N: " that starts its messages, and the Importer that turns
// each record read into an entry of the book. It knows no format's syntax.
#pragma once

#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "DictData.h"
#include "Text.h"

namespace vkd {

// "line N: ", the start of every import message.
std::string LineLabel(size_t n);

// Where an Importer puts each entry it made.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // Keeps an entry given as code page 932 bytes, and may move from them. False, with why in
  // error, when it cannot.
  virtual bool Add(std::string& word, std::string& meaning, std::string& error) = 0;
};

// Turns each record read into an entry, as code page 932 text, and hands it to a sink. Meanings
// have their line breaks stored as CR LF, as the program's window stores them, unless asked to
// keep them. It allows no more than a book's MAX_WORDS entries. The entries are made and handed
// to the sink on a second thread, one after another, while the reader goes on reading; a few
// wait their turn at most.
class Importer {
 public:
  Importer(EntrySink& sink, Encoding enc, bool keepLineBreaks)
      : m_sink(sink), m_enc(enc), m_keepLineBreaks(keepLineBreaks) {}
  // Waits for the entry being made, if any, and drops the rest.
  ~Importer();
  Importer(const Importer&) = delete;
  Importer& operator=(const Importer&) = delete;

  Encoding encoding() const { return m_enc; }
  // The entries handed over so far.
  int count() const { return m_count; }

  // Hands over an entry in the input encoding; word and meaning may be swapped with other
  // strings. label begins the message should the entry fail ("line 3: "). False, with the
  // message in error, when it would be one entry too many or an entry handed over before could
  // not be made; the failure of this one may only be told by a later Add or by Finish.
  bool Add(std::string& word, std::string& meaning, std::string_view label, std::string& error);
  // Waits until every entry handed over is in the sink. False with the first failure's message.
  // Rethrows what the making of an entry threw.
  bool Finish(std::string& error);
  // The name a JSON document carries.
  bool SetName(std::string_view name, std::string& error);
  const std::optional<CString>& name() const { return m_name; }

 private:
  struct Job {
    std::string word, meaning, label;
  };
  static constexpr size_t kQueue = 4;
  static constexpr size_t kWakeAt = 2;

  void Work();
  bool Make(Job& job, std::string& error);
  // The text as code page 932 bytes in bytes.
  bool Decode(std::string_view text, std::string& bytes, std::string& error) const;
  void Stop();

  EntrySink& m_sink;
  Encoding m_enc;
  bool m_keepLineBreaks;
  int m_count = 0;
  std::optional<CString> m_name;

  // Between the reader's thread and the worker, under m_mutex: the jobs from m_first on, m_queued
  // of them in turn, are the worker's; the others are the reader's to fill.
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::array<Job, kQueue> m_jobs;
  size_t m_first = 0;
  size_t m_queued = 0;
  bool m_stop = false;
  bool m_failed = false;
  std::string m_failure;
  std::exception_ptr m_thrown;
  std::thread m_worker;
  std::string m_word, m_meaning;  // the worker's, kept from entry to entry with their room
};

}  // namespace vkd
