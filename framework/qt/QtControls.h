// Widgets for the controls of a dialog template: one widget per control kind, with the styles
// that matter on screen, placed in dialog units. It does not wire commands or text memory; the
// peer (QtPeer) does that.
#pragma once

#include <QIcon>
#include <QWidget>
#include <span>

#include "QtDialogUnits.h"
#include "Resources.h"

QWidget* CreateControl(const ControlTemplate& control, QWidget* parent, const QtDialogUnits& units);

// The icon resource's image closest to size, as a pixmap; null when there is none.
QPixmap IconPixmap(const IconResource& icon, int size);

// Every image of the icon resource, for a window icon.
QIcon WindowIcon(const IconResource& icon);

// Mnemonics of statics give the focus to the next control that can take it; the tab order
// follows the template.
void LinkBuddiesAndTabOrder(std::span<const ControlTemplate> controls,
                            std::span<QWidget* const> widgets);

// Every control that takes the focus gets an accessible name: its own text, or the text of the
// static just before it, without the mnemonic; else the string with the control's ID.
void NameForScreenReaders(std::span<const ControlTemplate> controls,
                          std::span<QWidget* const> widgets);

// A label's text as it is read out, without its mnemonic: "&Open" is "Open".
QString WithoutMnemonic(const QString& text);
