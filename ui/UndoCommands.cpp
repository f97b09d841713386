// Taking back the last add, correction or delete, and doing it again.
#include "Cp932.h"
#include "DictionaryDlg.h"
#include "Messages.h"

namespace {

// Menu texts hold this much of a word at most.
constexpr int kShownWordBytes = 40;

// The word as a menu item can show it: cut at a whole character, a tab read as a blank, and
// "&" doubled so that it is not taken for a mnemonic.
CString MenuWord(const CString& word) {
  const std::string& bytes = word.Bytes();
  std::string out;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = cp932::IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (out.size() + n > static_cast<size_t>(kShownWordBytes)) {
      out += "...";
      break;
    }
    if (bytes[i] == '&') out += '&';
    out.append(bytes, i, n);
    if (bytes[i] == '\t') out.back() = ' ';
    i += n;
  }
  return CString(std::move(out));
}

const char8_t* StepFormat(EditHistory::Kind kind) {
  switch (kind) {
    case EditHistory::Kind::Add:
      return msg::kStepAdd;
    case EditHistory::Kind::Correct:
      return msg::kStepCorrect;
    case EditHistory::Kind::Delete:
      return msg::kStepDelete;
  }
  return msg::kStepAdd;
}

CString ItemText(const char8_t* named, EditHistory::Kind kind, const CString& word) {
  CString step;
  step.Format(U8(StepFormat(kind)), MenuWord(word));
  CString text;
  text.Format(U8(named), step);
  return text;
}

}  // namespace

void CDictionaryDlg::UpdateUndoItems() {
  CMenu* menu = GetMenu();
  if (!menu) return;
  const bool undo = m_history.CanUndo();
  const bool redo = m_history.CanRedo();
  menu->ModifyMenu(ID_EDIT_UNDO, MF_BYCOMMAND | MF_STRING, ID_EDIT_UNDO,
                   undo ? ItemText(msg::kUndoNamed, m_history.UndoKind(), m_history.UndoWord())
                        : U8(msg::kUndo));
  menu->ModifyMenu(ID_EDIT_REDO, MF_BYCOMMAND | MF_STRING, ID_EDIT_REDO,
                   redo ? ItemText(msg::kRedoNamed, m_history.RedoKind(), m_history.RedoWord())
                        : U8(msg::kRedo));
  menu->EnableMenuItem(ID_EDIT_UNDO, undo ? MF_ENABLED : MF_GRAYED);
  menu->EnableMenuItem(ID_EDIT_REDO, redo ? MF_ENABLED : MF_GRAYED);
}

void CDictionaryDlg::OnUndo() {
  if (m_history.CanUndo()) ShowStepTaken(m_history.Undo(m_dict));
}

void CDictionaryDlg::OnRedo() {
  if (m_history.CanRedo()) ShowStepTaken(m_history.Redo(m_dict));
}

// After an undo or redo: the count, the list refilled from the search box, the entry it
// concerns shown as the current one (none when it is gone), and the save offer of a change.
void CDictionaryDlg::ShowStepTaken(int index) {
  m_bModified = m_history.IsModified();
  // The refill reads every control back, the count label too, so the count comes after it.
  RefreshWordList();
  ShowCount();
  if (m_dict.IsLive(index)) {
    m_dict.m_nCurrent = index;
    m_strShownWord = m_dict.m_strWord[index];
    m_strShownMeaning = m_dict.m_strMeaning[index];
  } else {
    ForgetCurrent();
  }
  UpdateData(FALSE);
  UpdateMenuState();
  if (m_bIfAddSave) ConfirmAndSave();
}
