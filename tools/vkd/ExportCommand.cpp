// export: a dictionary entry by entry into TSV, CSV or JSON, written as it is read.
#include "Commands.h"
#include "Damage.h"
#include "Files.h"
#include "Formats.h"
#include "Messages.h"

namespace vkd {
namespace {

// Encodes each field for the output and hands the records to the writer. Stops at the first
// text that cannot be encoded or output that cannot be written, keeping why.
class Exporter : public DictEntryHandler {
 public:
  Exporter(Encoding enc, RecordWriter& writer) : m_enc(enc), m_writer(writer) {}

  bool OnName(CString& name) override {
    if (!m_writer.UsesName()) return true;
    return Encode(name, m_word, m_wordView, kName, -1) &&
           Guard([&] { m_writer.Begin(m_wordView); });
  }
  bool OnEntry(int i, CString& word, CString& meaning) override {
    return Encode(word, m_word, m_wordView, kWord, i) &&
           Encode(meaning, m_meaning, m_meaningView, kMeaning, i) &&
           Guard([&] { m_writer.Entry(i, m_wordView, m_meaningView); });
  }

  const std::string& Error() const { return m_error; }
  bool EncodingFailed() const { return m_encodingFailed; }

 private:
  // Why a field cannot be exported: %1$s the offset in the field, %2$s the bytes there, %3$s
  // the entry.
  static constexpr const char* kName =
      N_("the name holds bytes that no code page 932 table maps (%2$s at byte %1$s)");
  static constexpr const char* kWord =
      N_("entry %3$s: the word holds bytes that no code page 932 table maps (%2$s at byte %1$s)");
  static constexpr const char* kMeaning = N_(
      "entry %3$s: the meaning holds bytes that no code page 932 table maps (%2$s at byte %1$s)");

  // The field in the output encoding, in view (which may point into scratch).
  bool Encode(const CString& text, std::string& scratch, std::string_view& view,
              const char* message, int entry) {
    if (m_enc == Encoding::Cp932) {  // the stored bytes, whatever they are
      view = text.Bytes();
      return true;
    }
    scratch.clear();
    size_t bad = 0;
    if (AppendUtf8(scratch, text.Bytes(), &bad)) {
      view = scratch;
      return true;
    }
    const std::string_view bytes = text.Bytes();
    std::string hex;
    for (size_t i = bad; i < bytes.size() && i < bad + 2; ++i) {
      static const char* digits = "0123456789ABCDEF";
      const auto b = static_cast<unsigned char>(bytes[i]);
      hex += std::string(hex.empty() ? "" : " ") + digits[b >> 4] + digits[b & 15];
    }
    m_error = Fmt(Tr(message), {std::to_string(bad), hex, std::to_string(entry)});
    m_encodingFailed = true;
    return false;
  }

  template <typename F>
  bool Guard(F f) {
    return CatchWriteError(f, m_error);
  }

  Encoding m_enc;
  RecordWriter& m_writer;
  std::string m_word, m_meaning;
  std::string_view m_wordView, m_meaningView;
  std::string m_error;
  bool m_encodingFailed = false;
};

}  // namespace

int Export(const Context& c, const Options& o) {
  if (o.positional.size() != 1) return c.Error(Tr("export takes one FILE (see vkd export --help)"));
  const std::string& arg = o.positional[0];
  const std::string* outArg = o.Value("-o");
  std::string error;
  const auto destination = ResolveOutput(outArg ? *outArg : "-", error);
  if (!destination) return c.Error(error);
  if (destination->kind == Destination::Replace && SameFile(arg, destination->arg))
    return c.Error(Fmt(Tr("%s: input and output are the same file"), {arg}));
  std::optional<Format> format =
      FormatOfPath(destination->kind == Destination::Standard ? "" : destination->arg);
  Encoding encoding;
  if (ReadFormatOptions(c, o, format, encoding) != kOk) return kTrouble;
  auto file = OpenOutput(c, *destination, error);
  if (!file) return c.Error(error);
  Output out(*file);
  auto writer = MakeWriter(format.value_or(Format::Tsv), encoding, out);
  Exporter exporter(encoding, *writer);
  const auto r = ReadEntries(c, arg, exporter);
  if (!r || !r->ok() || !exporter.Error().empty()) {
    // A stream gets the records before the trouble, as it would have got them from a larger
    // file already; a regular file is left as it was.
    if (destination->kind != Destination::Replace) {
      try {
        out.Flush();
      } catch (const CFileException&) {
      }
    }
    file->Abort();
  }
  if (!r) return kTrouble;
  if (!r->ok()) return ReportDamage(c, arg, r->damage);
  if (!exporter.Error().empty()) {
    if (exporter.EncodingFailed())
      return c.Error(Fmt(Tr("%s: %s; try --encoding cp932"), {arg, exporter.Error()}));
    return c.Error(exporter.Error());
  }
  try {
    writer->End();
    out.Flush();
    file->Close();  // a regular file takes its new content only now
  } catch (const CFileException& e) {
    file->Abort();
    return c.Error(e.what());
  }
  return kOk;
}

}  // namespace vkd
