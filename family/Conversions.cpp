#include "Conversions.h"

#include "FamilyFormats.h"
#include "WinPath.h"

#include <cmath>

namespace zvo {

namespace {

double roundTo(double v, uint32_t scale)
{
    // nearbyint follows the default rounding mode: to nearest, ties to even.
    return std::nearbyint(v * scale) / scale;
}

} // namespace

double StrToRoundedFloat(const QString &S, double Default, uint32_t Scale)
{
    double v = Default;
    if (!TrimText(S).isEmpty() && !TryStrToFloat(S, v))
        v = Default;
    return roundTo(v, Scale);
}

bool CleanNumericText(QString &S, bool EmptyResult)
{
    const QChar ds = FamilyFormatSettings().DecimalSeparator;
    const QString allowed = QString("+-0123456789E") + ds;
    QString kept, rejected;
    for (const QChar c : S)
        (allowed.contains(c) ? kept : rejected) += c;
    if (!TrimText(rejected).isEmpty())
        return false;
    S = kept;
    if (S.isEmpty())
        return EmptyResult;
    const QString twice = QString(ds) + ds;
    if (const qsizetype at = S.indexOf(twice); at >= 0)
        S.remove(at, 1);
    if (S.count(ds) > 1)
        return false;
    // A lone separator gets only the leading zero ("." becomes "0.").
    if (S.startsWith(ds))
        S.prepend('0');
    else if (S.endsWith(ds))
        S.append('0');
    return true;
}

QString BoolToText(bool Value)
{
    return Value ? "Yes" : "No";
}

QString Spaces(uint8_t N)
{
    return QString(N, ' ');
}

} // namespace zvo
