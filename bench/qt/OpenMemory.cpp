// How much memory File ▸ 開く takes when it opens a 64 MiB dictionary over another: the main
// window (offscreen unless QT_QPA_PLATFORM says otherwise) opens book A, then book B over it,
// through its real command, the file dialog answered with the book's path. Prints the
// resident size with no dictionary (the baseline), the peak during the second open and the
// size once it is done, each as the baseline plus a multiple of the file's size, with what the
// heap holds at each step. Not a timing: run it alone, it takes a few seconds.
//   vokari_open_memory [KiB [N]]   meanings of KiB each (64 by default), as many entries as
//                                  make 64 MiB (at most 1024); with N, B has only N of them
//                                  (the multiples then stay those of A's file)
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "BenchBook.h"
#include "DictionaryDlg.h"
#include "Memory.h"
#include "QtBackend.h"
#include "ShownDialog.h"

namespace {

// The real backend, except that a file dialog chooses the given path at once.
class AnsweringBackend : public QtBackend {
 public:
  CString answer;
  bool FileDialog(CWnd*, const FileDialogRequest&, CString& path) override {
    path = answer;
    return true;
  }
};

struct Step {
  long rssKiB = 0;
  long peakKiB = 0;
  size_t heapInUse = 0;  // bytes handed out by malloc
  size_t heapFree = 0;   // bytes malloc holds but has not handed out
};

Step Measure() {
  const struct mallinfo2 info = mallinfo2();
  return {benchmem::StatusKiB("VmRSS"), benchmem::StatusKiB("VmHWM"), info.uordblks + info.hblkhd,
          info.fordblks};
}

// Bytes of text the window's book holds, and the bytes its strings have reserved for them.
void BookSize(const CDictData& book, size_t& length, size_t& capacity) {
  length = capacity = 0;
  for (int i = 0; i < book.m_nCount; ++i) {
    for (const CString* s : {&book.m_strWord[i], &book.m_strMeaning[i]}) {
      length += s->Bytes().size();
      capacity += s->Bytes().capacity();
    }
  }
}

void Print(const char* what, const Step& step, const Step& bare, double fileKiB, bool peak) {
  const long kib = peak ? step.peakKiB : step.rssKiB;
  std::printf("%-34s %8ld KiB  bare + %.3f x file   heap in use %7.1f MiB, free %7.1f MiB\n", what,
              kib, (static_cast<double>(kib - bare.rssKiB)) / fileKiB,
              static_cast<double>(step.heapInUse) / (1 << 20),
              static_cast<double>(step.heapFree) / (1 << 20));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const size_t meaningKiB = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  const int countB = argc > 2 ? std::atoi(argv[2]) : CDictData::MAX_WORDS;
  if (meaningKiB == 0 || countB < 0 || countB > CDictData::MAX_WORDS) return 2;
  const int count = static_cast<int>(std::min<size_t>(CDictData::MAX_WORDS, 65536 / meaningKiB));
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  const std::string pathA = QDir(dir.path()).filePath(QStringLiteral("a.vkd")).toStdString();
  const std::string pathB = QDir(dir.path()).filePath(QStringLiteral("b.vkd")).toStdString();
  benchbook::Write(*benchbook::Make("a", meaningKiB * 1024, count), pathA);
  benchbook::Write(*benchbook::Make("b", meaningKiB * 1024, std::min(count, countB)), pathB);
  benchmem::ReturnFreedMemory();
  const double fileKiB = static_cast<double>(std::filesystem::file_size(pathA)) / 1024;

  AnsweringBackend backend;
  ShownDialog shown(argv, backend);
  CDictionaryDlg& dlg = shown.Dialog();

  const Step bare = Measure();
  backend.answer = CString(pathA);
  dlg.DispatchCommand(IDC_OPEN_DICT);
  QApplication::processEvents();
  const Step loadedA = Measure();

  if (!benchmem::ResetPeak()) std::fprintf(stderr, "cannot reset the peak; it includes A's\n");
  backend.answer = CString(pathB);
  dlg.DispatchCommand(IDC_OPEN_DICT);
  QApplication::processEvents();
  const Step openB = Measure();
  benchmem::ReturnFreedMemory();
  const Step trimmed = Measure();

  size_t length = 0, capacity = 0;
  BookSize(dlg.m_dict, length, capacity);
  std::printf("file %.0f KiB; book %s: %zu text bytes in strings reserving %zu (slack %.3f%%)\n",
              fileKiB, dlg.m_dict.m_strName.GetString(), length, capacity,
              100.0 * static_cast<double>(capacity - length) / static_cast<double>(length));
  Print("no dictionary (bare)", bare, bare, fileKiB, false);
  Print("A opened", loadedA, bare, fileKiB, false);
  Print("peak while opening B over A", openB, bare, fileKiB, true);
  Print("B opened", openB, bare, fileKiB, false);
  Print("B opened, freed heap given back", trimmed, bare, fileKiB, false);
  return 0;
}
