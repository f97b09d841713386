// Saving over a file that another program changed, by merging its changes into the book first:
// the version last loaded or saved is the base, the file as it is now is theirs, the book ours.
#include <memory>
#include <utility>

#include "BookMerge.h"
#include "DictionaryDlg.h"
#include "Messages.h"
#include "WinApp.h"

namespace {

// A file that keeps changing while we merge is given up on after this many rounds.
constexpr int kMergeRounds = 5;

}  // namespace

int CDictionaryDlg::MergeAndSave(const CString& path) {
  int fromTheirs = 0, conflicts = 0;
  // The file is read again before writing; should it have changed meanwhile, the merge is
  // redone over the book as merged so far.
  for (int round = 0; ChangedByAnother(path); ++round) {
    if (round == kMergeRounds) {
      AfxMessageBox(U8(msg::kCannotSave));
      return 0;
    }
    switch (MergeWithFile(path, fromTheirs, conflicts)) {
      case MergeRound::Failed:
        return 0;
      case MergeRound::Again:
      case MergeRound::Merged:
        break;
    }
  }
  if (!SaveBook(path)) return 0;
  CString notice;
  notice.Format(U8(msg::kMerged), fromTheirs, conflicts);
  AfxMessageBox(notice);
  return 1;
}

// One merge of the file at path into the book. Again when the file changed while it was read
// (the book is then as it was); Failed, after a notice, when it cannot be read or the result
// would not fit in a book.
CDictionaryDlg::MergeRound CDictionaryDlg::MergeWithFile(const CString& path, int& fromTheirs,
                                                         int& conflicts) {
  const CFileStamp stamp = CFileStamp::Of(path);
  BookIndex theirs;
  const DictIoResult r = IndexDictionaryFile(m_file, path, theirs);
  if (!r.ok()) {
    AfxMessageBox(U8(r.kind == DictIoResult::CannotOpen ? msg::kCannotOpen : msg::kDamaged));
    return MergeRound::Failed;
  }
  const BookDigest ours = DigestOf(m_dict);
  const MergePlan plan = MergeEntries(m_base.entries, ours.entries, theirs.digest.entries);
  if (plan.count > CDictData::MAX_WORDS) {
    m_file.Abort();
    AfxMessageBox(U8(msg::kMergeTooLarge));
    return MergeRound::Failed;
  }
  // Their entries are read first, so that the book is untouched should the file have changed.
  auto merged = std::make_unique<CDictData>();
  int at = 0;
  for (const MergePiece& p : plan.pieces) {
    for (int i = 0; p.side == MergePiece::Theirs && i < p.count; ++i) {
      if (!FetchEntry(m_file, theirs, p.first + i, merged->m_strWord[at + i],
                      merged->m_strMeaning[at + i])) {
        m_file.Abort();
        return MergeRound::Again;
      }
    }
    at += p.count;
  }
  m_file.Abort();
  if (CFileStamp::Of(path) != stamp) return MergeRound::Again;
  at = 0;
  for (const MergePiece& p : plan.pieces) {
    for (int i = 0; p.side == MergePiece::Ours && i < p.count; ++i) {
      merged->m_strWord[at + i] = std::move(m_dict.m_strWord[p.first + i]);
      merged->m_strMeaning[at + i] = std::move(m_dict.m_strMeaning[p.first + i]);
    }
    at += p.count;
  }
  merged->m_nCount = plan.count;
  const NameMerge name = MergeName(m_base.name, ours.name, theirs.digest.name);
  merged->m_strName =
      name.side == MergePiece::Ours ? std::move(m_dict.m_strName) : std::move(theirs.name);
  fromTheirs += plan.fromTheirs;
  conflicts += plan.conflicts;
  TakeOverMerged(std::move(merged), theirs, stamp);
  return MergeRound::Merged;
}

// The merged book replaces the window's; the file as read becomes the base of the next merge.
// The book keeps its path and counts as changed until it is written.
void CDictionaryDlg::TakeOverMerged(std::unique_ptr<CDictData> merged, BookIndex& theirs,
                                    const CFileStamp& stamp) {
  m_dict.m_strName = std::move(merged->m_strName);
  m_dict.m_nCount = merged->m_nCount;
  for (int i = 0; i < CDictData::MAX_WORDS; ++i) {
    m_dict.m_strWord[i] = std::move(merged->m_strWord[i]);
    m_dict.m_strMeaning[i] = std::move(merged->m_strMeaning[i]);
  }
  m_base = std::move(theirs.digest);
  m_stamp = stamp;
  ShowBook();
  // The merged book is no version its file held, and the steps before it do not apply to it.
  m_history.Reset(false);
  m_bModified = true;
  RefreshWordList();
}
