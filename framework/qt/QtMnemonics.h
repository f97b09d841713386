// Alt with a letter goes first to a control of the active window that has that mnemonic, and
// only then to the menu bar, as the dialogs the program was written for do it: in the main
// window Alt+S presses the 辞書ファイル button and Alt+F the 検索 button, while the menu bar
// stays reachable with Alt released before the letter. Qt would instead treat such a letter
// as ambiguous and only move the focus. Windows that are not the program's dialogs are left
// alone.
#pragma once

// Installs the application-wide rule once; later calls do nothing.
void InstallControlMnemonicsFirst();
