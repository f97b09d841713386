// The details a file dialog lists beside each name (size, type of a folder, date) in the
// application's default locale. Qt writes sizes and dates in the system's locale, so under
// LANG=C the dialog would read "180 bytes" and an English date among Japanese texts. It
// changes nothing else of the dialog.
#pragma once

class QFileDialog;

// Must be called before the dialog is shown; it works on Qt's own (non-native) dialog only.
void ShowDetailsInDefaultLocale(QFileDialog& dialog);
