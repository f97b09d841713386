// The framework's basic types and constants, with the values the program's logic was written
// against. Header only.
#pragma once

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using INT_PTR = std::intptr_t;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Dialog results and standard command IDs.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_HELP = 57670;

// Message box types.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_TYPEMASK = 0x0F;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFMASK = 0xF00;

// Notification codes.
constexpr UINT BN_CLICKED = 0;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;
constexpr int LB_ERR = -1;

// Menu flags.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;

// Help commands.
constexpr UINT HELP_QUIT = 2;

// System metrics and file dialog flags.
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x0002;
constexpr DWORD OFN_HIDEREADONLY = 0x0004;

// A rectangle in pixels; right and bottom lie just outside it.
struct CRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct IconResource;
using HICON = const IconResource*;
