// The types of the program's resources (dialog and menu templates, strings, icons, the version
// block) and the one place they are registered at start. The framework only describes and finds
// resources; the program's own resources live in res/.
#pragma once

#include <span>
#include <string_view>
#include <vector>

enum class ControlKind { Static, Edit, PushButton, CheckBox, ComboBox, ListBox, Icon };

// Control and window style flags, named after what they mean rather than their bit values.
namespace style {
enum : unsigned {
  TabStop = 1u << 0,
  Group = 1u << 1,
  Hidden = 1u << 2,
  DefaultButton = 1u << 3,
  MultiLine = 1u << 4,
  WantReturn = 1u << 5,
  AutoHScroll = 1u << 6,
  AutoVScroll = 1u << 7,
  VScroll = 1u << 8,
  HScroll = 1u << 9,
  Border = 1u << 10,
  Sunken = 1u << 11,
  RightAlign = 1u << 12,
  CenterVertical = 1u << 13,
  Flat = 1u << 14,
  Sorted = 1u << 15,
  Notify = 1u << 16,
  NoIntegralHeight = 1u << 17,
  DropDown = 1u << 18,
  ClientEdge = 1u << 19,
  StaticEdge = 1u << 20,
  ModalFrame = 1u << 21,
  // window styles
  Caption = 1u << 24,
  SystemMenu = 1u << 25,
  Resizable = 1u << 26,
  MinimizeBox = 1u << 27,
  AppWindow = 1u << 28,
};
}

struct ControlTemplate {
  int id;
  ControlKind kind;
  unsigned styles;
  int x, y, cx, cy;  // dialog units
  std::u8string_view text;
};

struct DialogTemplate {
  int id;
  std::u8string_view caption;
  int cx, cy;  // dialog units
  std::u8string_view fontName;
  int pointSize;
  unsigned styles;
  int menuId;  // 0 for none
  std::vector<ControlTemplate> controls;
};

struct MenuItem {
  std::u8string_view text;  // empty text with command 0 is a separator
  int command;
  std::vector<MenuItem> children;  // a popup when not empty
};

struct MenuTemplate {
  int id;
  std::vector<MenuItem> items;
};

struct StringResource {
  unsigned id;
  std::u8string_view text;
};

// An icon: images of several sizes, each in XPM form so that any backend can draw it.
struct IconImage {
  int size;
  std::span<const char* const> xpm;
};
struct IconResource {
  int id;
  std::vector<IconImage> images;
};

// A key that runs a command of a window (an accelerator). Keys are the platform's virtual-key
// codes with their modifiers. control: the key counts only while the focus is in that control
// (0: anywhere in the window). A command of 0 moves the focus to control, its text selected.
// Where the window's menu has an item with the command, the item shows the key and the key runs
// only while the item is enabled.
namespace vk {
enum : int { Delete = 0x2E, F1 = 0x70 };  // letters and digits are their ASCII capitals
enum : unsigned { Shift = 0x04, Control = 0x08, Alt = 0x10 };
}  // namespace vk
struct Accelerator {
  int key;
  unsigned modifiers;
  int command;
  int control = 0;
};
// The keys of the window made from dialog template id.
struct AcceleratorTable {
  int id;
  std::vector<Accelerator> keys;
};

struct VersionInfo {
  std::u8string_view fileVersion, productVersion, fileDescription, internalName, originalFilename,
      productName;
};

struct ResourceSet {
  std::span<const DialogTemplate> dialogs;
  std::span<const MenuTemplate> menus;
  std::span<const StringResource> strings;
  std::span<const IconResource> icons;
  const VersionInfo* version = nullptr;
  std::span<const AcceleratorTable> accelerators = {};
};

void AfxSetResources(const ResourceSet& resources);
const DialogTemplate* AfxFindDialog(int id);
const MenuTemplate* AfxFindMenu(int id);
const std::u8string_view* AfxFindString(unsigned id);
const IconResource* AfxFindIcon(int id);
const AcceleratorTable* AfxFindAccelerators(int id);
const VersionInfo* AfxGetVersionInfo();
