// The string resources the framework itself asks for, by well-known ID. The framework knows only
// the IDs; the program's resources supply the text, so no message of the program lives here.
#pragma once

#include "Afx.h"

// The application's name where the version block gives none.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
// The help window: its text, its caption and its close button.
constexpr UINT AFX_IDS_HELPTEXT = 0xEF00;
constexpr UINT AFX_IDS_HELP_CAPTION = 0xEF01;
constexpr UINT AFX_IDS_HELP_CLOSE = 0xEF02;
// The name of the program's desktop entry (without ".desktop"): the app id its windows announce.
constexpr UINT AFX_IDS_DESKTOP_ID = 0xE001;
// Printed on the standard error when there is no screen to show windows on.
constexpr UINT AFX_IDS_NO_DISPLAY = 0xEF10;
// DDX_Text: the user typed text the code page cannot hold.
constexpr UINT AFX_IDP_PARSE_CHARS = 0xF110;
// The file dialogs: the type they list for a folder.
constexpr UINT AFX_IDS_FILE_FOLDER = 0xEF20;
// The file dialog: the chosen name has no code page 932 form (the name follows the text).
constexpr UINT AFX_IDP_FILE_NAME_CHARS = 0xF111;

// Screen readers know a control that takes the focus by the text of the static label just
// before it in its template, or, where there is none, by the string with the control's own ID.
