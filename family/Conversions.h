#pragma once
// Small conversions shared by both programs.
#include <QString>
#include <cstdint>

namespace zvo {

// S parsed with the process-wide formats and rounded to 1/Scale, halves to even; an empty or
// unreadable S gives Default rounded the same way.
double StrToRoundedFloat(const QString &S, double Default, uint32_t Scale);
// Keeps the characters of a number ("+-0123456789E" and the decimal separator) and mends the
// separator; false when other characters or more than one separator are there.
bool CleanNumericText(QString &S, bool EmptyResult);
QString BoolToText(bool Value);
QString Spaces(uint8_t N);

} // namespace zvo
