#include "Afx.h"
#include "Templates.h"

const std::vector<MenuTemplate>& VokariMenus() {
  static const std::vector<MenuTemplate> menus = {
      {IDR_MENU,
       {
           {u8"ファイル(&F)",
            0,
            {
                {u8"新規(&N)", ID_DICT_NEW, {}},
                {u8"開く(&C)", IDC_OPEN_DICT, {}},
                {u8"上書き保存(&S)", static_cast<int>(ID_FILE_SAVE), {}},
                {u8"名前をつけて保存(&A)", static_cast<int>(ID_FILE_SAVE_AS), {}},
                {u8"以前の版を開く(&R)...", ID_FILE_RESTORE, {}},
                {u8"", 0, {}},
                {u8"終了(&Q)", static_cast<int>(ID_APP_EXIT), {}},
            }},
           {u8"データ(&D)",
            0,
            {
                {u8"単語の登録(&A)", ID_WORD_ADD, {}},
                {u8"単語の削除(&E)", ID_WORD_DELETE, {}},
                {u8"単語の修正(&C)", ID_WORD_MODIFY, {}},
                {u8"", 0, {}},
                {u8"元に戻す(&U)\tCtrl+Z", ID_EDIT_UNDO, {}},
                {u8"やり直し(&R)\tCtrl+Y", ID_EDIT_REDO, {}},
            }},
           {u8"検索(&K)",
            0,
            {
                {u8"かなと全角・半角、大文字・小文字を区別しない(&K)", ID_SEARCH_FOLD, {}},
                {u8"意味も検索する(&M)", ID_SEARCH_MEANINGS, {}},
            }},
           {u8"設定(&S)", ID_SETTINGS, {}},
           {u8"ヘルプ(&?)", 0, {{u8"バージョン情報(&V)", ID_VERSION_INFO, {}}}},
       }},
  };
  return menus;
}
