#include "Templates.h"

namespace {
const char* const kIcon16[] = {
    "16 16 7 1",        ". c None",         "k c #1A1A40",      "b c #2F5FB3",
    "d c #1F3F80",      "w c #FFFFFF",      "g c #C8C8C8",      "r c #D23C3C",
    "................", "..kkkkkkkkrrk...", "..kbdbbbbbrrb...", "..kbdbbbbbrrb...",
    "..kbdbwwwwrrb...", "..kbdbwkkkrrb...", "..kbdbwkkkrrb...", "..kbdbwkkwrrb...",
    "..kbdbbbbbrrb...", "..kbdbbbbbrrb...", "..kbdbbbbbrrb...", "..kbdbbbbbrrb...",
    "..kwwwwwwwrrw...", "..kgggggggrrg...", "..........rr....", "................",
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
    "................................",
    ".....kkkkkkkkkkkkkkkkrrrkkk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbwwwwwwwwrrrbbk.....",
    ".....kbbddbbbwwwwwwwwrrrbbk.....",
    ".....kbbddbbbwwkkkkkkrrrbbk.....",
    ".....kbbddbbbwwwwwwwwrrrbbk.....",
    ".....kbbddbbbwwkkkkkkrrrbbk.....",
    ".....kbbddbbbwwwwwwwwrrrbbk.....",
    ".....kbbddbbbwwkkkkwwrrrbbk.....",
    ".....kbbddbbbwwwwwwwwrrrbbk.....",
    ".....kbbddbbbwwwwwwwwrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kbbddbbbbbbbbbbbrrrbbk.....",
    ".....kwwwwwwwwwwwwwwwrrrwwk.....",
    ".....kgggggggggggggggrrrggk.....",
    ".....kwwwwwwwwwwwwwwwrrrwwk.....",
    ".....kkkkkkkkkkkkkkkkrrrkkk.....",
    ".....................rrr........",
    ".....................rrr........",
    "................................",
};
}  // namespace

const std::vector<IconResource>& VokariIcons() {
  static const std::vector<IconResource> icons = {
      {IDR_MAINFRAME, {{16, kIcon16}, {32, kIcon32}}},
  };
  return icons;
}
