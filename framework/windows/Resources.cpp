#include "Resources.h"

#include "CString.h"

namespace {
ResourceSet g_resources;

template <typename T, typename Id>
const T* FindById(std::span<const T> items, Id id) {
  for (const T& item : items)
    if (item.id == id) return &item;
  return nullptr;
}
}  // namespace

void AfxSetResources(const ResourceSet& resources) {
  g_resources = resources;
}
const DialogTemplate* AfxFindDialog(int id) {
  return FindById(g_resources.dialogs, id);
}
const MenuTemplate* AfxFindMenu(int id) {
  return FindById(g_resources.menus, id);
}
const IconResource* AfxFindIcon(int id) {
  return FindById(g_resources.icons, id);
}
const AcceleratorTable* AfxFindAccelerators(int id) {
  return FindById(g_resources.accelerators, id);
}
const VersionInfo* AfxGetVersionInfo() {
  return g_resources.version;
}

const std::u8string_view* AfxFindString(unsigned id) {
  const StringResource* s = FindById(g_resources.strings, id);
  return s ? &s->text : nullptr;
}

// A string of the table in code page 932; it lives here, beside the table it reads.
bool CString::LoadString(unsigned id) {
  const std::u8string_view* text = AfxFindString(id);
  if (!text) {
    Empty();
    return false;
  }
  *this = FromU8(*text);
  return !IsEmpty();
}
