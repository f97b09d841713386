// The program's resources: dialog templates, the menu, strings, the icon and the version block.
// RegisterVokariResources() hands them to the framework; it runs once at start.
#pragma once

#include "Resources.h"
#include "resource.h"

const ResourceSet& VokariResources();
void RegisterVokariResources();
