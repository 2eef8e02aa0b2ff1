#include "FormatSettings.h"

#include <QLocale>
#include <cmath>

namespace zvo {

// ---------------------------------------------------------------- records

TFormatSettings TFormatSettings::Create(const QString &localeName)
{
    if (localeName.compare("en-US", Qt::CaseInsensitive) != 0) {
        TFormatSettings fs;
        const QLocale loc(QString(localeName).replace('-', '_'));
        fs.DecimalSeparator = loc.decimalPoint().at(0);
        fs.ThousandSeparator = loc.groupSeparator().isEmpty() ? QChar(' ')
                                                             : loc.groupSeparator().at(0);
        fs.ShortMonthNames.clear();
        fs.LongMonthNames.clear();
        for (int m = 1; m <= 12; ++m) {
            fs.ShortMonthNames << loc.monthName(m, QLocale::ShortFormat);
            fs.LongMonthNames << loc.monthName(m, QLocale::LongFormat);
        }
        for (int d = 0; d < 7; ++d) { // Qt counts Monday as 1 and Sunday as 7
            const int qtDay = d == 0 ? 7 : d;
            fs.ShortDayNames << loc.dayName(qtDay, QLocale::ShortFormat);
            fs.LongDayNames << loc.dayName(qtDay, QLocale::LongFormat);
        }
        fs.ShortDateFormat = loc.dateFormat(QLocale::ShortFormat);
        fs.LongDateFormat = loc.dateFormat(QLocale::LongFormat);
        return fs;
    }
    TFormatSettings fs;
    fs.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    fs.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                         "July",    "August",   "September", "October", "November", "December"};
    fs.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    fs.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                       "Saturday"};
    return fs;
}

TFormatSettings TFormatSettings::FromSystem()
{
    return Create(QLocale::system().name());
}

TFormatSettings &FormatSettings()
{
    static TFormatSettings settings = TFormatSettings::FromSystem();
    return settings;
}

QDateTime ZeroDateTime()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

// ---------------------------------------------------------------- FormatFloat

namespace {

// A number as decimal digits: value = 0.d1d2d3... x 10^exponent.
struct Decimal {
    QString digits;
    int exponent = 0;
    bool negative = false;
};

// 15 significant digits first, then rounding half away from zero at the wanted place, so
// that 1.005 shown with two decimals gives 1.01 as a person expects, not the 1.00 that the
// binary value would give.
Decimal toDecimal(double v, int fractionDigits)
{
    Decimal d;
    d.negative = std::signbit(v);
    const QString e = QString::number(std::fabs(v), 'e', 14); // d.dddddddddddddde+XX
    const int ePos = e.indexOf('e');
    d.digits = e.left(1) + e.mid(2, ePos - 2);
    d.exponent = e.mid(ePos + 1).toInt() + 1;
    const int keep = d.exponent + fractionDigits;
    if (keep < 0) {
        d.digits = "0";
        d.exponent = 1;
    } else if (keep < d.digits.size()) {
        const bool up = d.digits.at(keep) >= '5';
        d.digits.truncate(keep);
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.digits.at(i) == '9')
                d.digits[i--] = '0';
            if (i < 0) {
                d.digits.prepend('1');
                ++d.exponent;
            } else {
                d.digits[i] = QChar(d.digits.at(i).unicode() + 1);
            }
        }
    }
    while (d.digits.endsWith('0'))
        d.digits.chop(1);
    if (d.digits.isEmpty()) {
        d.exponent = 1;
        d.negative = false; // a value that rounds to zero shows no sign
    }
    return d;
}

struct NumberPattern {
    QString prefix, suffix;
    int minInt = 0;     // '0' placeholders from the first '0' to the decimal point
    int minFrac = 0;    // up to the last '0' after the point
    int maxFrac = 0;    // all placeholders after the point
    bool thousands = false;
};

// Splits off the section for the value's sign (positive;negative;zero).
QStringList splitSections(const QString &pattern)
{
    QStringList sections;
    QString cur;
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    sections << cur;
    return sections;
}

NumberPattern parsePattern(const QString &section)
{
    NumberPattern p;
    bool seenDigit = false, seenPoint = false, seenZero = false;
    QString literalsAfter; // literals met after the first placeholder
    int fracPos = 0;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        QString literal;
        if (c == '"' || c == '\'') {
            const qsizetype end = section.indexOf(c, i + 1);
            literal = section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            i = end < 0 ? section.size() : end;
        } else if (c == '0' || c == '#') {
            seenDigit = true;
            p.suffix += literalsAfter; // literals between placeholders stay in order after
            literalsAfter.clear();
            if (seenPoint) {
                ++fracPos;
                p.maxFrac = fracPos;
                if (c == '0')
                    p.minFrac = fracPos;
            } else if (c == '0' || seenZero) {
                seenZero = true;
                ++p.minInt;
            }
            continue;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            seenDigit = true;
            continue;
        } else if (c == ',' && !seenPoint) {
            p.thousands = true;
            continue;
        } else {
            literal = c;
        }
        if (seenDigit)
            literalsAfter += literal;
        else
            p.prefix += literal;
    }
    p.suffix += literalsAfter;
    return p;
}

QString groupThousands(const QString &intPart, QChar sep)
{
    QString out;
    const qsizetype n = intPart.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += intPart.at(i);
    }
    return out;
}

} // namespace

QString FormatFloat(const QString &pattern, double value, const TFormatSettings &fs)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    const QStringList sections = splitSections(pattern);
    NumberPattern p = parsePattern(sections.at(0));
    Decimal d = toDecimal(value, p.maxFrac);
    bool useOwnSign = false;
    if (d.digits.isEmpty() && sections.size() >= 3 && !sections.at(2).isEmpty()) {
        p = parsePattern(sections.at(2));
        d = toDecimal(0.0, p.maxFrac);
    } else if (d.negative && sections.size() >= 2 && !sections.at(1).isEmpty()) {
        p = parsePattern(sections.at(1));
        d = toDecimal(value, p.maxFrac);
        useOwnSign = true;
    }
    QString intPart, fracPart;
    for (int i = 0; i < d.exponent; ++i)
        intPart += i < d.digits.size() ? d.digits.at(i) : QChar('0');
    for (int i = 0; i < p.maxFrac; ++i) {
        const int idx = d.exponent + i;
        fracPart += (idx >= 0 && idx < d.digits.size()) ? d.digits.at(idx) : QChar('0');
    }
    while (intPart.startsWith('0'))
        intPart.remove(0, 1);
    while (intPart.size() < p.minInt)
        intPart.prepend('0');
    while (fracPart.size() > p.minFrac && fracPart.endsWith('0'))
        fracPart.chop(1);
    if (p.thousands)
        intPart = groupThousands(intPart, fs.ThousandSeparator);
    QString number = intPart;
    if (!fracPart.isEmpty())
        number += fs.DecimalSeparator + fracPart;
    const QString sign = (d.negative && !useOwnSign) ? QString("-") : QString();
    return p.prefix + sign + number + p.suffix;
}

// ---------------------------------------------------------------- FormatDateTime

namespace {

QString pad(int v, int width)
{
    return QString::number(v).rightJustified(width, '0');
}

int runLength(const QString &s, qsizetype i)
{
    const QChar c = s.at(i).toLower();
    int n = 0;
    while (i + n < s.size() && s.at(i + n).toLower() == c)
        ++n;
    return n;
}

bool hasAmPm(const QString &pattern)
{
    return pattern.contains("am/pm", Qt::CaseInsensitive)
        || pattern.contains("a/p", Qt::CaseInsensitive)
        || pattern.contains("ampm", Qt::CaseInsensitive);
}

void appendDateTime(QString &out, const QString &pattern, const QDateTime &v,
                    const TFormatSettings &fs, int depth)
{
    const QDate date = v.date();
    const QTime time = v.time();
    const bool twelveHour = hasAmPm(pattern);
    QChar lastToken;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        const QChar t = c.toUpper();
        if (c == '"' || c == '\'') {
            const qsizetype end = pattern.indexOf(c, i + 1);
            out += pattern.mid(i + 1, (end < 0 ? pattern.size() : end) - i - 1);
            i = end < 0 ? pattern.size() : end + 1;
            continue;
        }
        if (t == 'A') {
            const QString rest = pattern.mid(i);
            const bool pm = time.hour() >= 12;
            if (rest.startsWith("am/pm", Qt::CaseInsensitive)) {
                out += pm ? "pm" : "am";
                if (rest.at(0).isUpper())
                    out.replace(out.size() - 2, 2, pm ? "PM" : "AM");
                i += 5;
                continue;
            }
            if (rest.startsWith("a/p", Qt::CaseInsensitive)) {
                out += rest.at(0).isUpper() ? (pm ? "P" : "A") : (pm ? "p" : "a");
                i += 3;
                continue;
            }
            if (rest.startsWith("ampm", Qt::CaseInsensitive)) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i += 4;
                continue;
            }
        }
        int n = 1;
        QChar token = t;
        if (QString("YMDHNSZCT").contains(t)) {
            n = runLength(pattern, i);
            if (t == 'M' && lastToken == 'H')
                token = 'N';
            lastToken = token;
        }
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        const int hour = twelveHour ? hour12 : time.hour();
        switch (token.unicode()) {
        case 'Y': out += n <= 2 ? pad(date.year() % 100, 2) : pad(date.year(), 4); break;
        case 'M':
            if (n <= 2) out += pad(date.month(), n);
            else if (n == 3) out += fs.ShortMonthNames.value(date.month() - 1);
            else out += fs.LongMonthNames.value(date.month() - 1);
            break;
        case 'D':
            if (n <= 2) out += pad(date.day(), n);
            else if (n == 3) out += fs.ShortDayNames.value(date.dayOfWeek() % 7);
            else if (n == 4) out += fs.LongDayNames.value(date.dayOfWeek() % 7);
            else if (depth < 2)
                appendDateTime(out, n == 5 ? fs.ShortDateFormat : fs.LongDateFormat, v, fs,
                               depth + 1);
            break;
        case 'H': out += pad(hour, std::min(n, 2)); break;
        case 'N': out += pad(time.minute(), std::min(n, 2)); break;
        case 'S': out += pad(time.second(), std::min(n, 2)); break;
        case 'Z': out += pad(time.msec(), n >= 3 ? 3 : 1); break;
        case 'C':
            if (depth < 2) {
                appendDateTime(out, fs.ShortDateFormat, v, fs, depth + 1);
                if (time != QTime(0, 0)) {
                    out += ' ';
                    appendDateTime(out, fs.LongTimeFormat, v, fs, depth + 1);
                }
            }
            break;
        case 'T':
            if (depth < 2)
                appendDateTime(out, n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, v, fs,
                               depth + 1);
            break;
        case '/': out += fs.DateSeparator; break;
        case ':': out += fs.TimeSeparator; break;
        default: out += c; break;
        }
        i += n;
    }
}

} // namespace

QString FormatDateTime(const QString &pattern, const QDateTime &value,
                       const TFormatSettings &fs)
{
    QString out;
    appendDateTime(out, pattern, value, fs, 0);
    return out;
}

// ---------------------------------------------------------------- parsing

bool TryStrToFloat(const QString &text, double &value, const TFormatSettings &fs)
{
    const QString s = text.trimmed();
    qsizetype i = 0;
    auto digits = [&]() {
        const qsizetype start = i;
        while (i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128)
            ++i;
        return i - start;
    };
    QString c; // the number in the C locale's form
    if (i < s.size() && (s.at(i) == '+' || s.at(i) == '-'))
        c += s.at(i++);
    qsizetype start = i;
    qsizetype n = digits();
    c += s.mid(start, n);
    qsizetype fracDigits = 0;
    if (i < s.size() && s.at(i) == fs.DecimalSeparator) {
        ++i;
        start = i;
        fracDigits = digits();
        c += '.' + s.mid(start, fracDigits);
    }
    if (n + fracDigits == 0)
        return false;
    if (i < s.size() && (s.at(i) == 'e' || s.at(i) == 'E')) {
        c += 'e';
        ++i;
        if (i < s.size() && (s.at(i) == '+' || s.at(i) == '-'))
            c += s.at(i++);
        start = i;
        const qsizetype e = digits();
        if (e == 0)
            return false;
        c += s.mid(start, e);
    }
    if (i != s.size())
        return false;
    bool ok = false;
    const double v = c.toDouble(&ok); // QString::toDouble always uses the C locale
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool TryStrToInt(const QString &text, qint64 &value)
{
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith('+') || s.startsWith('-')) {
        negative = s.startsWith('-');
        s.remove(0, 1);
    }
    int base = 10;
    if (s.startsWith("0x", Qt::CaseInsensitive)) {
        base = 16;
        s.remove(0, 2);
    } else if (s.startsWith('$')) {
        base = 16;
        s.remove(0, 1);
    }
    if (s.isEmpty() || s.startsWith('+') || s.startsWith('-'))
        return false;
    bool ok = false;
    qint64 v = s.toLongLong(&ok, base);
    if (!ok)
        return false;
    if (base == 16 && v <= 0xFFFFFFFFLL && v > INT32_MAX) // hexadecimal wraps to 32 bits
        v = static_cast<qint32>(static_cast<quint32>(v));
    else if (v > INT32_MAX + qint64(negative))
        return false;
    value = negative ? -v : v;
    return true;
}

namespace {

// Order of year, month and day in a date pattern, e.g. "YMD".
QString dateOrder(const QString &pattern)
{
    QString order;
    for (const QChar c : pattern) {
        const QChar u = c.toUpper();
        if ((u == 'Y' || u == 'M' || u == 'D') && !order.contains(u))
            order += u;
    }
    return order.size() == 3 ? order : QString("MDY");
}

bool parseTime(const QString &text, QTime &time, const TFormatSettings &fs)
{
    QString s = text.trimmed();
    int addHours = -1; // -1: no AM/PM
    for (const QString &pm : {fs.TimePMString, QString("PM")})
        if (!pm.isEmpty() && s.endsWith(pm, Qt::CaseInsensitive)) {
            addHours = 12;
            s.chop(pm.size());
            break;
        }
    if (addHours < 0)
        for (const QString &am : {fs.TimeAMString, QString("AM")})
            if (!am.isEmpty() && s.endsWith(am, Qt::CaseInsensitive)) {
                addHours = 0;
                s.chop(am.size());
                break;
            }
    s = s.trimmed();
    QString secPart = s;
    int msec = 0;
    const qsizetype dot = s.indexOf('.');
    if (dot >= 0) {
        bool ok = false;
        msec = s.mid(dot + 1).toInt(&ok);
        if (!ok || s.mid(dot + 1).size() > 3)
            return false;
        secPart = s.left(dot);
    }
    const QStringList parts = secPart.split(fs.TimeSeparator);
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    int v[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        v[i] = parts.at(i).toInt(&ok);
        if (!ok || parts.at(i).isEmpty() || parts.at(i).size() > 2)
            return false;
    }
    if (addHours >= 0) {
        if (v[0] < 1 || v[0] > 12)
            return false;
        v[0] = v[0] % 12 + addHours;
    }
    time = QTime(v[0], v[1], v[2], msec);
    return time.isValid();
}

} // namespace

bool TryStrToDateTime(const QString &text, QDateTime &value, const TFormatSettings &fs)
{
    const QString s = text.trimmed();
    const qsizetype blank = s.indexOf(' ');
    const QString datePart = blank < 0 ? s : s.left(blank);
    const QStringList parts = datePart.split(fs.DateSeparator);
    if (parts.size() != 3)
        return false;
    const QString order = dateOrder(fs.ShortDateFormat);
    int y = 0, m = 0, d = 0;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int n = parts.at(i).toInt(&ok);
        if (!ok || parts.at(i).isEmpty() || parts.at(i).startsWith('+')
            || parts.at(i).startsWith('-'))
            return false;
        (order.at(i) == 'Y' ? y : order.at(i) == 'M' ? m : d) = n;
        if (order.at(i) == 'Y' && parts.at(i).size() <= 2)
            y += 2000; // two-digit years belong to this century
    }
    const QDate date(y, m, d);
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (blank >= 0 && !parseTime(s.mid(blank + 1), time, fs))
        return false;
    value = QDateTime(date, time);
    return true;
}

} // namespace zvo
