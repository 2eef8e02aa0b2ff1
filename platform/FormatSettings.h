#pragma once
// Number and date formats: one record of separators, patterns and names, and the formatting
// and parsing routines that use it. The process-wide record starts from the user's locale;
// the family's start-up replaces it with fixed en-US settings.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace zvo {

struct TFormatSettings {
    QChar DecimalSeparator = '.';
    QChar ThousandSeparator = ',';
    QChar DateSeparator = '/';
    QChar TimeSeparator = ':';
    QString ShortDateFormat = "M/d/yyyy";
    QString LongDateFormat = "dddd, MMMM d, yyyy";
    QString ShortTimeFormat = "h:mm AMPM";
    QString LongTimeFormat = "h:mm:ss AMPM";
    QString TimeAMString = "AM";
    QString TimePMString = "PM";
    QStringList ShortMonthNames; // 12 entries, January first
    QStringList LongMonthNames;
    QStringList ShortDayNames;   // 7 entries, Sunday first
    QStringList LongDayNames;

    // "en-US" comes from a fixed table, so it is the same on every system; any other name
    // is taken from the host's locale data.
    static TFormatSettings Create(const QString &localeName);
    // The user's regional settings.
    static TFormatSettings FromSystem();
};

// The process-wide record used wherever no other record is named.
TFormatSettings &FormatSettings();

QString FormatFloat(const QString &pattern, double value,
                    const TFormatSettings &fs = FormatSettings());
QString FormatDateTime(const QString &pattern, const QDateTime &value,
                       const TFormatSettings &fs = FormatSettings());

// Decimal text with an optional sign, the record's decimal separator and an optional exponent;
// blanks around it are allowed, thousands separators are not.
bool TryStrToFloat(const QString &text, double &value,
                   const TFormatSettings &fs = FormatSettings());
// Decimal, or hexadecimal with a "0x" or "$" prefix; an optional sign; blanks around it.
bool TryStrToInt(const QString &text, qint64 &value);
// A date in the order of the short date format with the record's date separator, optionally
// followed by blanks and a time (hours and minutes, optional seconds and milliseconds,
// optional AM/PM). Without a time, the time is midnight.
bool TryStrToDateTime(const QString &text, QDateTime &value,
                      const TFormatSettings &fs = FormatSettings());

// The zero date and time of a record field that was never set.
QDateTime ZeroDateTime();

} // namespace zvo
