#pragma once
// The error every download client operation raises: the message a person reads and the
// libcurl code behind it, so callers can tell network trouble from a refusal.
#include <QString>
#include <stdexcept>

namespace zvo {

class EFtpError : public std::runtime_error {
public:
    // Code 0 marks an error of our own (not connected, a local file that cannot be written).
    explicit EFtpError(const QString &message, int curlCode = 0);

    QString Message() const { return QString::fromUtf8(what()); }
    int CurlCode() const { return FCurlCode; }
    // Socket-level trouble: no route, refused or reset connection, time-out, lost data.
    bool IsNetworkError() const;

private:
    int FCurlCode;
};

} // namespace zvo
