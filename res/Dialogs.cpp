// Dialog templates. Positions are x, y, width, height in dialog units.
#include "Afx.h"
#include "Templates.h"

using namespace style;
using K = ControlKind;

namespace {
constexpr std::u8string_view kFont = u8"ＭＳ Ｐゴシック";
}

const std::vector<DialogTemplate>& VokariDialogs() {
  static const std::vector<DialogTemplate> dialogs = {
      {IDD_ABOUTBOX,
       u8"バージョン情報",
       139,
       65,
       kFont,
       9,
       Caption | SystemMenu | ModalFrame,
       0,
       {
           {IDR_MAINFRAME, K::Icon, 0, 7, 12, 21, 20, u8""},
           {IDC_STATIC, K::Static, 0, 40, 10, 56, 8, u8"Vokari Version 1.2"},
           {IDC_STATIC, K::Static, 0, 40, 25, 92, 8, u8"Copyright (C) 2026"},
           {IDOK, K::PushButton, DefaultButton | TabStop | Group, 44, 44, 50, 14, u8"OK"},
       }},
      {IDD_VOKARI_DIALOG,
       u8"Vokari",
       274,
       179,
       kFont,
       9,
       Caption | SystemMenu | Resizable | MinimizeBox | AppWindow | ClientEdge,
       IDR_MENU,
       {
           {IDC_SEARCH_TEXT, K::ComboBox, DropDown | Sorted | VScroll | TabStop, 7, 28, 77, 62,
            u8""},
           {IDC_SEARCH, K::PushButton, DefaultButton | TabStop, 87, 27, 27, 14, u8"検索(&F)"},
           {IDC_WORD_LIST, K::ListBox, Notify | NoIntegralHeight | Border | VScroll | TabStop, 7,
            51, 107, 93, u8""},
           {IDC_SHOWN_WORD, K::Edit, AutoHScroll | Border | ModalFrame | TabStop, 122, 23, 103, 20,
            u8""},
           {IDC_SHOWN_MEANING, K::Edit,
            MultiLine | WantReturn | AutoVScroll | AutoHScroll | VScroll | HScroll | StaticEdge |
                ClientEdge | TabStop,
            121, 51, 146, 93, u8""},
           {IDC_OPEN_DICT, K::PushButton, Flat | TabStop, 7, 7, 50, 14, u8"辞書ファイル(&S)"},
           {IDC_DICT_LABEL, K::Static, Sunken | Group, 60, 9, 85, 11, u8"--読み込まれていません--"},
           {IDOK, K::PushButton, Hidden, 253, 158, 14, 14, u8"OK"},
           {IDCANCEL, K::PushButton, TabStop, 111, 158, 50, 14, u8"閉じる(&Q)"},
           {static_cast<int>(ID_HELP), K::PushButton, Hidden | TabStop, 7, 158, 50, 14,
            u8"ﾍﾙﾌﾟ(&H)"},
           {IDC_COUNT_LABEL, K::Static, RightAlign | CenterVertical | Group, 220, 7, 47, 11,
            u8"登録数：00000"},
       }},
      {IDD_NEWDICT,
       u8"新規辞書",
       131,
       55,
       kFont,
       9,
       Caption | SystemMenu | ModalFrame,
       0,
       {
           {IDC_STATIC, K::Static, Group, 7, 10, 22, 8, u8"辞書名"},
           {IDC_DICT_NAME, K::Edit, AutoHScroll | Border | TabStop, 34, 7, 90, 14, u8""},
           {IDOK, K::PushButton, DefaultButton | TabStop, 7, 34, 50, 14, u8"OK"},
           {IDCANCEL, K::PushButton, TabStop, 74, 34, 50, 14, u8"ｷｬﾝｾﾙ"},
       }},
      {IDD_ADDWORD,
       u8"単語追加",
       161,
       179,
       kFont,
       9,
       Caption | SystemMenu | ModalFrame,
       0,
       {
           {IDC_STATIC, K::Static, Group, 7, 10, 23, 8, u8"単語(&S)"},
           {IDC_ENTRY_WORD, K::Edit, AutoHScroll | Border | TabStop, 30, 7, 124, 14, u8""},
           {IDC_STATIC, K::Static, Group, 7, 27, 24, 8, u8"意味(&M)"},
           {IDC_ENTRY_MEANING, K::Edit,
            MultiLine | WantReturn | AutoVScroll | AutoHScroll | VScroll | HScroll | Border |
                TabStop,
            7, 39, 146, 93, u8""},
           {IDOK, K::PushButton, DefaultButton | TabStop, 7, 158, 50, 14, u8"OK"},
           {IDCANCEL, K::PushButton, TabStop, 104, 158, 50, 14, u8"ｷｬﾝｾﾙ"},
           {IDC_CONTINUOUS, K::CheckBox, TabStop, 101, 141, 53, 10, u8"連続追加(&A)"},
       }},
      {IDD_SETTINGS,
       u8"設定ダイアログ",
       158,
       73,
       kFont,
       9,
       Caption | SystemMenu | ModalFrame,
       0,
       {
           {IDOK, K::PushButton, DefaultButton | TabStop, 7, 52, 50, 14, u8"OK"},
           {IDCANCEL, K::PushButton, TabStop, 101, 52, 50, 14, u8"ｷｬﾝｾﾙ"},
           {IDC_LAST_FILE_OPEN, K::CheckBox, TabStop, 7, 7, 144, 10,
            u8"起動時に最後に開いていたファイルを開く(&L)"},
           {IDC_IF_ADD_SAVE, K::CheckBox, TabStop, 7, 21, 124, 10,
            u8"辞書に変更があった時に自動保存(&S)"},
           {IDC_KEEP_BACKUPS, K::CheckBox, TabStop, 7, 35, 144, 10,
            u8"保存のたびに前の版を残す(&B)"},
       }},
  };
  return dialogs;
}
