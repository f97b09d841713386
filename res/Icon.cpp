#include "Templates.h"

// The window icon: data/icons/vokari.svg drawn pixel for pixel at 16 and at 32 (each pixel of
// its 16 x 16 grid doubled), so that the window, the task bar and the desktop show one picture.
namespace {
const char* const kIcon16[] = {
    "16 16 7 1",        ". c None",         "k c #1A1A40",      "b c #2F5FB3",
    "d c #1F3F80",      "w c #FFFFFF",      "g c #C8C8C8",      "r c #D23C3C",
    "................", "..kkkkkkkkkrkk..", "..kdbbbbbbbrbk..", "..kdbwwwwwbrbk..",
    "..kdbwkkkwbrbk..", "..kdbwwwwwbrbk..", "..kdbwkkwwbrbk..", "..kdbwwwwwbrbk..",
    "..kdbbbbbbbrbk..", "..kdbbbbbbbrbk..", "..kdbbbbbbbrbk..", "..kdbbbbbbbrbk..",
    "..kwwwwwwwwrwk..", "..kggggggggrgk..", "..kkkkkkkkkrkk..", "...........r....",
};
const char* const kIcon32[] = {
    "32 32 7 1",
    ". c None",
    "k c #1A1A40",
    "b c #2F5FB3",
    "d c #1F3F80",
    "w c #FFFFFF",
    "g c #C8C8C8",
    "r c #D23C3C",
    "................................",
    "................................",
    "....kkkkkkkkkkkkkkkkkkrrkkkk....",
    "....kkkkkkkkkkkkkkkkkkrrkkkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbwwwwwwwwwwbbrrbbkk....",
    "....kkddbbwwwwwwwwwwbbrrbbkk....",
    "....kkddbbwwkkkkkkwwbbrrbbkk....",
    "....kkddbbwwkkkkkkwwbbrrbbkk....",
    "....kkddbbwwwwwwwwwwbbrrbbkk....",
    "....kkddbbwwwwwwwwwwbbrrbbkk....",
    "....kkddbbwwkkkkwwwwbbrrbbkk....",
    "....kkddbbwwkkkkwwwwbbrrbbkk....",
    "....kkddbbwwwwwwwwwwbbrrbbkk....",
    "....kkddbbwwwwwwwwwwbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkddbbbbbbbbbbbbbbrrbbkk....",
    "....kkwwwwwwwwwwwwwwwwrrwwkk....",
    "....kkwwwwwwwwwwwwwwwwrrwwkk....",
    "....kkggggggggggggggggrrggkk....",
    "....kkggggggggggggggggrrggkk....",
    "....kkkkkkkkkkkkkkkkkkrrkkkk....",
    "....kkkkkkkkkkkkkkkkkkrrkkkk....",
    "......................rr........",
    "......................rr........",
};
}  // namespace

const std::vector<IconResource>& VokariIcons() {
  static const std::vector<IconResource> icons = {
      {IDR_MAINFRAME, {{16, kIcon16}, {32, kIcon32}}},
  };
  return icons;
}
