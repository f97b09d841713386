#include "AfxRes.h"
#include "Templates.h"
#include "resource.h"

const std::vector<StringResource>& VokariStrings() {
  static const std::vector<StringResource> strings = {
      {IDS_ABOUTBOX, u8"Vokari のバージョン情報(&A)..."},
      {AFX_IDS_APP_TITLE, u8"Vokari"},
      {AFX_IDS_DESKTOP_ID, u8"jp.vokari.Vokari"},
      // What screen readers call the main window's controls that have no label.
      {IDC_SEARCH_TEXT, u8"検索する文字"},
      {IDC_WORD_LIST, u8"単語の一覧"},
      {IDC_SHOWN_WORD, u8"単語"},
      {IDC_SHOWN_MEANING, u8"意味"},
      {AFX_IDS_HELP_CAPTION, u8"Vokari ヘルプ"},
      {AFX_IDS_HELP_CLOSE, u8"閉じる"},
      {AFX_IDP_PARSE_CHARS, u8"使えない文字が入ってるよ"},
      {AFX_IDS_FILE_FOLDER, u8"フォルダー"},
      {AFX_IDP_FILE_NAME_CHARS,
       u8"このファイル名には使えない文字が入っています。\n"
       u8"別の名前か別の場所を選んでください。\n\n"},
      {AFX_IDS_NO_DISPLAY,
       u8"Vokari の画面を出せません。グラフィック画面（X11 か Wayland）が必要です。\n"
       u8"デスクトップの中で起動するか、画面のない環境では\n"
       u8"  xvfb-run -a vokari\n"
       u8"のように仮想画面の中で起動してください。\n"
       u8"\n"
       u8"Vokari needs a graphical display (X11 or Wayland), and none was found\n"
       u8"(DISPLAY and WAYLAND_DISPLAY are not set). Start it inside a desktop session,\n"
       u8"or, on a machine without a screen, in a virtual one:\n"
       u8"  xvfb-run -a vokari\n"},
      {AFX_IDS_HELPTEXT,
       u8"Vokari の使い方\n"
       u8"\n"
       u8"■ 辞書を作る\n"
       u8"　ファイル → 新規 で辞書名を入れ、保存先を選びます。\n"
       u8"■ 辞書を開く\n"
       u8"　「辞書ファイル」ボタンか ファイル → 開く で .vkd ファイルを選びます。\n"
       u8"　.vkd ファイルをウィンドウにドロップしても開けます。\n"
       u8"■ 単語を登録する\n"
       u8"　データ → 単語の登録 で単語と意味を入れて OK。\n"
       u8"　「連続追加」に印を付けると続けて登録できます。\n"
       u8"■ 単語を探す\n"
       u8"　左上の欄に文字を入れて「検索」(Enter)。空のまま検索すると全部の単語が出ます。\n"
       u8"　一覧で単語を選ぶと、右側に単語と意味が出ます。\n"
       u8"■ 直す・消す\n"
       u8"　単語を選んでから データ → 単語の修正 / 単語の削除。\n"
       u8"■ 保存する\n"
       u8"　ファイル → 上書き保存 か 名前をつけて保存。\n"
       u8"　保存していない変更があれば、閉じる前や別の辞書を開く前に確認します。\n"
       u8"■ 以前の版に戻す\n"
       u8"　保存のたびに前の版が残ります。ファイル → 以前の版を開く で版を選び、\n"
       u8"　上書き保存すると、その版がこの辞書のファイルになります。\n"
       u8"■ 設定\n"
       u8"　起動時に前の辞書を開くか、変更のたびに保存を確かめるかを選べます。\n"
       u8"　設定は起動したフォルダーの Vokari.ini に書かれます。"},
  };
  return strings;
}
