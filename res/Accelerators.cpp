// The keys of the main window, beside the menu's mnemonics.
#include "Afx.h"
#include "Templates.h"

const std::vector<AcceleratorTable>& VokariAccelerators() {
  using namespace vk;
  static const std::vector<AcceleratorTable> tables = {
      {IDD_VOKARI_DIALOG,
       {
           {'N', Control, ID_DICT_NEW},
           {'O', Control, IDC_OPEN_DICT},
           {'S', Control, static_cast<int>(ID_FILE_SAVE)},
           {'S', Control | Shift, static_cast<int>(ID_FILE_SAVE_AS)},
           {'Q', Control, static_cast<int>(ID_APP_EXIT)},
           {F1, 0, static_cast<int>(ID_HELP)},
           {Delete, 0, ID_WORD_DELETE, IDC_WORD_LIST},
           {'F', Control, 0, IDC_SEARCH_TEXT},
       }},
  };
  return tables;
}
