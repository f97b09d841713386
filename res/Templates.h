// Internal to res/: the pieces that VokariResources() assembles.
#pragma once

#include <vector>

#include "Resources.h"
#include "resource.h"

const std::vector<DialogTemplate>& VokariDialogs();
const std::vector<MenuTemplate>& VokariMenus();
const std::vector<StringResource>& VokariStrings();
const std::vector<IconResource>& VokariIcons();
const std::vector<AcceleratorTable>& VokariAccelerators();
