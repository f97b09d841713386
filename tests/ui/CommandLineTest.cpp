// `vokari [FILE]`: what the command line asks for, and the file it names opened at start.
#include <gtest/gtest.h>

#include <sstream>

#include "CommandLine.h"
#include "MainWindowHarness.h"
#include "VkdBytes.h"

namespace {

struct Case {
  const char* name;
  std::vector<std::string> args;
  int status;       // -1: the window runs
  std::string out;  // the start of what is printed, on standard output or standard error
  const char8_t* notice = nullptr;
  std::u8string_view label = u8"";
  std::string lastPath = "mem.vkd";  // in the settings file afterwards, relative to the dir
};

TEST(CommandLineTest, AFileNamedOpensAtStartAndOptionsAnswerWithoutAWindow) {
  TempDir dir;
  std::filesystem::create_directory(dir / "sub");
  WriteBytes(dir / "sub" / "eng.vkd", VkdFile("eng", {{"cat", "neko"}}));
  WriteBytes(dir / "-x.vkd", VkdFile("dash", {}));
  WriteBytes(dir / "mem.vkd", VkdFile("mem", {}));
  WriteBytes(dir / "\xEF\xBD\x9E.vkd", VkdFile("wave", {}));  // ～, what 〜 would turn into
  WriteBytes(dir / "\\.vkd", VkdFile("backslash", {}));       // what ¥ would turn into
  WriteBytes(dir / "bad.vkd", VkdString("d") + VkdCount(4));
  const std::string ini = "[General]\r\nLastFileOpen=1\r\nLastPath=" + dir.Path("mem.vkd") + "\r\n";
  const Case cases[] = {
      {"no argument reopens the remembered one", {}, -1, "", nullptr, u8"mem"},
      {"relative file", {"sub/eng.vkd"}, -1, "", nullptr, u8"eng", "sub/eng.vkd"},
      {"absolute file", {dir.Path("sub/eng.vkd")}, -1, "", nullptr, u8"eng", "sub/eng.vkd"},
      {"after --", {"--", "-x.vkd"}, -1, "", nullptr, u8"dash", "-x.vkd"},
      {"missing file",
       {"none.vkd"},
       -1,
       "",
       u8"ファイルが開けないよ",
       u8"--読み込まれていません--"},
      {"damaged file", {"bad.vkd"}, -1, "", u8"ファイルが壊れてるよ", u8"--読み込まれていません--"},
      {"name without a code page 932 form",
       {"\xF0\x9F\x98\x80.vkd"},
       -1,
       "",
       u8"ファイルが開けないよ",
       u8"--読み込まれていません--"},
      {"a wave dash names no other file",
       {"\xE3\x80\x9C.vkd"},
       -1,
       "",
       u8"ファイルが開けないよ",
       u8"--読み込まれていません--"},
      {"a yen sign names no other file",
       {"\xC2\xA5.vkd"},
       -1,
       "",
       u8"ファイルが開けないよ",
       u8"--読み込まれていません--"},
      {"help", {"--help"}, 0, "Usage: vokari [FILE]\n"},
      {"version", {"sub/eng.vkd", "--version"}, 0, "vokari " VOKARI_VERSION "\n"},
      {"unknown option", {"-x.vkd"}, 2, "vokari: unknown option '-x.vkd'\nUsage: vokari [FILE]\n"},
      {"short help is not an option", {"-h"}, 2, "vokari: unknown option '-h'\n"},
      {"two files", {"a.vkd", "b.vkd"}, 2, "vokari: only one FILE can be opened\n"},
  };
  ScriptedUi ui;
  RegisterVokariResources();
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(dir / "Vokari.ini", ini);
    const StartRequest request = ParseCommandLine(c.args, dir.path());
    if (c.status >= 0) {
      std::ostringstream out, err;
      EXPECT_EQ(AnswerWithoutWindow(request, out, err), c.status);
      const std::string& said = c.status == 0 ? out.str() : err.str();
      EXPECT_EQ(said.substr(0, c.out.size()), c.out);
      EXPECT_EQ((c.status == 0 ? err : out).str(), "");
      continue;
    }
    ASSERT_EQ(request.kind, StartRequest::OpenWindow);
    CDictionaryApp app;
    if (request.hasFile) app.OpenAtStart(request.file);
    if (c.notice) ui.ExpectNotice(c.notice);
    std::string label;
    ui.ExpectDialog(IDD_VOKARI_DIALOG, [&](DialogScript& d) {
      label = d.Text(IDC_DICT_LABEL);
      d.Press(IDCANCEL);
    });
    app.InitInstance();
    ui.VerifyAllConsumed();
    EXPECT_EQ(label, Utf8(c.label));
    EXPECT_EQ(ReadBytes(dir / "Vokari.ini"),
              "[General]\r\nLastFileOpen=1\r\nLastPath=" + dir.Path(c.lastPath) + "\r\n");
  }
  std::filesystem::current_path(old);
}

}  // namespace
