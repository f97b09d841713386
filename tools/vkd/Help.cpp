#include "Help.h"

#include "Messages.h"

namespace vkd {
namespace {

struct CommandText {
  const char* name;
  const char* synopsis;     // not translated: it is what is typed; a long one in two lines
  const char* description;  // translated
  const char* options;      // translated; null for none
  bool formats;             // followed by the formats
};

const CommandText kCommands[] = {
    {"show", "vkd show FILE",
     N_("  Prints the dictionary's name and entry count, then each entry: its index and its\n"
        "  word, and its meaning indented below, one line per line of the meaning. Output is\n"
        "  UTF-8.\n"),
     nullptr, false},
    {"check", "vkd check FILE",
     N_("  Reads the whole file as the program would. A sound file gives exit status 0 and a\n"
        "  line with its entry count (and a note when bytes follow the last meaning, which the\n"
        "  program ignores). A damaged file gives exit status 1 and one line naming the field,\n"
        "  the entry and the byte offset of the damage.\n"),
     nullptr, false},
    {"search", "vkd search FILE TEXT [--fold] [--meanings]",
     N_("  Prints the index and the word of every entry whose word contains TEXT, matched as\n"
        "  the program matches: byte for byte in code page 932, case-sensitive, by whole\n"
        "  characters. Exit status 1 when no word matches.\n"),
     N_("  --fold               hiragana and katakana, half-width and full-width, and upper and\n"
        "                       lower case compare as one, as the window's search menu can\n"
        "  --meanings           an entry matches when its meaning contains TEXT, too\n"),
     false},
    {"export", "vkd export FILE [-o OUT] [--format FORMAT] [--encoding ENCODING]",
     N_("  Writes the entries to OUT or to standard output. A regular file OUT is replaced only\n"
        "  when the export is complete; a terminal, a pipe or a device is written to directly.\n"),
     N_("  -o OUT               where to write; \"-\" is standard output\n"
        "  --format FORMAT      tsv, csv or json; by default from OUT's extension, else tsv\n"
        "  --encoding ENCODING  utf-8 (the default) or cp932. UTF-8 gives the bytes 0x80, 0xA0\n"
        "                       and 0xFD-0xFF as U+0080 and U+F8F0-U+F8F3, as the original\n"
        "                       platform does, and refuses bytes that no table maps, naming\n"
        "                       where they are; cp932 writes the stored bytes unchanged.\n"),
     true},
    {"import",
     "vkd import IN -o FILE [--name NAME] [--format FORMAT] [--encoding ENCODING]\n"
     "[--force] [--keep-line-breaks]",
     N_("  Writes a new dictionary FILE from IN (\"-\" for standard input). Refuses more than\n"
        "  1024 entries, text that code page 932 cannot hold and malformed input, naming the\n"
        "  line, and then writes nothing. A UTF-8 byte-order mark and blank lines at the end\n"
        "  are fine.\n"),
     N_("  -o FILE              the dictionary to write; \"-\" is standard output\n"
        "  --name NAME          the dictionary's name; a JSON input may carry it instead\n"
        "  --format FORMAT      tsv, csv or json; by default from IN's extension, else tsv\n"
        "  --encoding ENCODING  utf-8 (the default) or cp932, whose bytes are stored as they are\n"
        "  --force              replace an existing FILE\n"
        "  --keep-line-breaks   store line breaks in meanings as given; by default a lone LF or\n"
        "                       CR becomes CR LF, as the program's window stores them\n"),
     true},
    {"diff", "vkd diff A B [-U N] [--stat]",
     N_("  Prints the entries that differ between two dictionaries, in order, as lines of the\n"
        "  TSV export: \"-\" for an entry only in A, \"+\" only in B, a space for context. The\n"
        "  entries are compared as word and meaning pairs over their sequence, so a word may\n"
        "  repeat. A changed name is shown as a hunk of its own. Exit status 0 when the entries\n"
        "  and the name are the same, 1 when they differ, 2 for trouble.\n"),
     N_("  -U N                 context lines around each change (3 by default)\n"
        "  --stat               one line of counts instead of the entries\n"),
     false},
    {"merge", "vkd merge BASE OURS THEIRS -o OUT",
     N_("  Merges the changes that OURS and THEIRS made to BASE, as diff3 merges lines, and\n"
        "  writes the result to OUT, which may be OURS: it is replaced only when complete.\n"
        "  Entries changed differently on both sides are a conflict and are kept from both,\n"
        "  ours first; a name changed differently keeps ours. Exit status 0 for a clean merge,\n"
        "  1 with conflicts (their number on standard error), 2 for trouble; a result of more\n"
        "  than 1024 entries is refused and nothing is written.\n"),
     nullptr, false},
    {"backups", "vkd backups FILE",
     N_("  Lists the earlier versions of FILE that its saves kept (by the window, or by import\n"
        "  --force), newest first, one per line: the version's path, the local time it was\n"
        "  kept, and its entry count, or what is wrong with it. FILE itself may be gone. Exit\n"
        "  status 1 when no version is kept.\n"),
     nullptr, false},
};

const char* const kFormats = N_(
    "Formats:\n"
    "  tsv   one line per entry, word<TAB>meaning; \\\\, \\t, \\r and \\n escaped; LF line ends\n"
    "  csv   RFC 4180: word,meaning with CR LF line ends, quoted where needed; no header\n"
    "  json  {\"name\": ..., \"entries\": [{\"word\": ..., \"meaning\": ...}, ...]}\n");

// Each line of text with indent before it.
std::string Indented(const std::string& text, const std::string& indent) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    if (end - pos > 1) out += indent;
    out.append(text, pos, end - pos);
    pos = end;
  }
  return out;
}

// A command's synopsis (its second line indented by more), then its description and options.
std::string Block(const CommandText& c, const std::string& more) {
  std::string synopsis = c.synopsis;
  if (const size_t br = synopsis.find('\n'); br != std::string::npos) synopsis.insert(br + 1, more);
  std::string text = synopsis + "\n" + Tr(c.description);
  if (c.options) text += "\n" + std::string(Tr(c.options));
  return text;
}

}  // namespace

std::string Usage() {
  std::string text =
      Tr("Usage: vkd COMMAND [OPTIONS]\n"
         "Looks into, checks, searches and converts Vokari dictionary files (.vkd).\n"
         "\n"
         "Commands:\n");
  // Each command under a heading of its own, its synopsis apart from its description, so that
  // help2man makes a subsection of each with the options listed under it.
  for (const auto& c : kCommands) {
    const std::string block = Block(c, "");
    const size_t end = block.find("\n  ");
    text += "\n" + std::string(c.name) + ":\n" + Indented(block.substr(0, end + 1), "  ") + "\n" +
            block.substr(end + 1);
  }
  text += "\n";
  text += Tr(kFormats);
  text +=
      Tr("\n"
         "Options:\n"
         "  -h, --help     this help; after a COMMAND, that command's help\n"
         "  -V, --version  the version\n"
         "\n"
         "A FILE or IN of \"-\" is standard input. Entries are numbered from 0, as the program\n"
         "numbers them. Messages are in Japanese when the locale is Japanese.\n"
         "\n"
         "Exit status:\n"
         "  0  success\n"
         "  1  a damaged dictionary, no match (search), books that differ (diff),\n"
         "     conflicts kept (merge), or no version kept (backups)\n"
         "  2  trouble: bad usage, a file that cannot be read or written, refused input\n");
  return text;
}

std::optional<std::string> CommandHelp(std::string_view command) {
  for (const auto& c : kCommands) {
    if (command != c.name) continue;
    std::string text = Tr("Usage: ") + Block(c, "    ");
    if (c.formats) text += std::string("\n") + Tr(kFormats);
    return text;
  }
  return std::nullopt;
}

}  // namespace vkd
