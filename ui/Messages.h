// Every text the main window and its commands show, in one place.
#pragma once

namespace msg {
inline constexpr char8_t kNotLoaded[] = u8"--読み込まれていません--";
inline constexpr char8_t kCountLabel[] = u8"登録数：%d";
inline constexpr char8_t kCannotOpen[] = u8"ファイルが開けないよ";
inline constexpr char8_t kDamaged[] = u8"ファイルが壊れてるよ";
inline constexpr char8_t kCannotSave[] = u8"保存できなかったよ";
inline constexpr char8_t kSaved[] = u8"保存した！";
inline constexpr char8_t kConfirmSave[] = u8"%s\nに保存します。";
inline constexpr char8_t kConfirmSaveCaption[] = u8"上書き確認";
inline constexpr char8_t kNeedWord[] = u8"単語名は入力しないと！";
inline constexpr char8_t kNeedMeaning[] = u8"意味も入れないと！";
inline constexpr char8_t kMeaningTooLong[] = u8"意味が長すぎるよ（4294967294バイトまで）";
inline constexpr char8_t kAdded[] = u8"辞書：%s に\n単語：%s\nを追加しました";
inline constexpr char8_t kModified[] = u8"単語：%s\nを修正しました";
inline constexpr char8_t kResultCaption[] = u8"結果";
inline constexpr char8_t kConfirmDelete[] = u8"辞書：%s から\n単語：%s を\n\n辞書から削除します。";
inline constexpr char8_t kConfirmDeleteCaption[] = u8"削除確認";
inline constexpr char8_t kDeleted[] = u8"ポイッてした！";
inline constexpr char8_t kBookFull[] = u8"これ以上は登録できないよ（1024語まで）";
inline constexpr char8_t kSelectWord[] = u8"単語を選んでね";
inline constexpr char8_t kNeedDictName[] = u8"辞書名は入力しないと！";
inline constexpr char8_t kUnsaved[] = u8"変更が保存されていません。\n保存しますか？";
inline constexpr char8_t kRolledBack[] =
    u8"前回の保存が途中で止まっていたので、保存する前の内容に戻したよ";
inline constexpr char8_t kRollBackFailed[] =
    u8"前回の保存が途中で止まっていたけど、前の内容に戻せなかったよ";
inline constexpr char8_t kBackupFailed[] = u8"前の版を残せなかったよ（保存はできたよ）";
inline constexpr char8_t kUndo[] = u8"元に戻す(&U)\tCtrl+Z";
inline constexpr char8_t kRedo[] = u8"やり直し(&R)\tCtrl+Y";
inline constexpr char8_t kUndoNamed[] = u8"元に戻す：%s\tCtrl+Z";
inline constexpr char8_t kRedoNamed[] = u8"やり直し：%s\tCtrl+Y";
inline constexpr char8_t kStepAdd[] = u8"%s の登録";
inline constexpr char8_t kStepCorrect[] = u8"%s の修正";
inline constexpr char8_t kStepDelete[] = u8"%s の削除";
inline constexpr char8_t kMerged[] =
    u8"ほかのコピーから%d語を取り込みました。\n両方を残した衝突：%d";
inline constexpr char8_t kMergeTooLarge[] = u8"統合すると1024語を超えるので保存しなかったよ";
// 以前の版を開く: the versions of the open dictionary that its saves kept.
inline constexpr char8_t kNoVersions[] =
    u8"この辞書の以前の版はまだないよ\n（上書き保存するたびに前の版が残ります）";
inline constexpr char8_t kNoVersionsKept[] =
    u8"この辞書の以前の版はないよ\n（設定の「保存のたびに前の版を残す」が切ってあります）";
inline constexpr char8_t kVersionSound[] = u8"%s    登録数：%d    %s";
inline constexpr char8_t kVersionDamaged[] = u8"%s    壊れています    %s";
inline constexpr char8_t kVersionUnreadable[] = u8"%s    読めません    %s";
inline constexpr char8_t kVersionBytes[] = u8"%s バイト";
inline constexpr char8_t kChooseVersion[] = u8"開く版を選んでね";
inline constexpr char8_t kVersionCannotOpen[] = u8"この版は壊れているので開けないよ";
inline constexpr char8_t kSaveFilter[] = u8"辞書データ|*.vkd|";
inline constexpr char8_t kOpenFilter[] = u8"辞書データ(*.vkd)|*.vkd|";
}  // namespace msg
