#include "FamilyFormats.h"

namespace zvo {

const QString FamilyEncoding = "UTF-8";

TFormatSettings &FamilyFormatSettings()
{
    static TFormatSettings settings = TFormatSettings::Create("en-US");
    return settings;
}

void InitFamilyFormats()
{
    TFormatSettings fs = TFormatSettings::Create("en-US");
    fs.DecimalSeparator = '.';
    fs.ThousandSeparator = ',';
    fs.TimeSeparator = ':';
    fs.DateSeparator = '-';
    fs.ShortTimeFormat = "hh:mm:ss";
    fs.ShortDateFormat = "yyyy-mm-dd";
    FormatSettings() = fs;

    TFormatSettings own = TFormatSettings::Create("en-US");
    own.DecimalSeparator = '.';
    FamilyFormatSettings() = own;
}

} // namespace zvo
