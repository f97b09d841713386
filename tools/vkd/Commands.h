// The vkd commands, each run with its parsed arguments: show, check and search (ReadCommands),
// export (ExportCommand), import (ImportCommand), diff and merge (CompareCommands), backups
// (BackupsCommand). Each returns its exit status.
#pragma once

#include "Context.h"
#include "Options.h"

namespace vkd {

int Show(const Context& c, const Options& o);
int Check(const Context& c, const Options& o);
int Search(const Context& c, const Options& o);
int Export(const Context& c, const Options& o);
int Import(const Context& c, const Options& o);
int Diff(const Context& c, const Options& o);
int Merge(const Context& c, const Options& o);
int Backups(const Context& c, const Options& o);

}  // namespace vkd
