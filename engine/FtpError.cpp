#include "FtpError.h"

#include <curl/curl.h>

namespace zvo {

EFtpError::EFtpError(const QString &message, int curlCode)
    : std::runtime_error(message.toStdString()), FCurlCode(curlCode)
{
}

bool EFtpError::IsNetworkError() const
{
    switch (FCurlCode) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_PARTIAL_FILE:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return true;
    default:
        return false;
    }
}

} // namespace zvo
