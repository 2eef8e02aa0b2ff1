#pragma once
// The family's start-up formats: whatever the user's regional settings, numbers use "." and
// ",", dates "yyyy-mm-dd" and English month and day names.
#include "FormatSettings.h"

#include <QString>

namespace zvo {

// The library's own record; only its decimal separator is read (by CleanNumericText).
TFormatSettings &FamilyFormatSettings();
// The default text encoding of the family's string lists.
extern const QString FamilyEncoding;

// Fixes the formats. Each program calls it before its first window; it may be called again
// (tests do) and always leaves the same settings.
void InitFamilyFormats();

} // namespace zvo
