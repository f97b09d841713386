#include "Templates.h"
#include "VokariResources.h"

namespace {
const VersionInfo kVersion = {
    u8"1, 0, 0, 2", u8"1, 0, 0, 2", u8"Vokari MFC ｱﾌﾟﾘｹｰｼｮﾝ",
    u8"Vokari",     u8"Vokari.EXE", u8"Vokari",
};
}  // namespace

const ResourceSet& VokariResources() {
  static const ResourceSet set = {VokariDialogs(), VokariMenus(), VokariStrings(),
                                  VokariIcons(),   &kVersion,     VokariAccelerators()};
  return set;
}

void RegisterVokariResources() {
  AfxSetResources(VokariResources());
}
