#pragma once
// The error the database classes raise: the engine's message, with what was being done.
#include <QString>
#include <stdexcept>

namespace zvo {

class ESQLiteError : public std::runtime_error {
public:
    explicit ESQLiteError(const QString &message, int code = 1)
        : std::runtime_error(message.toStdString()), FMessage(message), FCode(code)
    {
    }

    const QString &Message() const { return FMessage; }
    int Code() const { return FCode; } // the engine's result code

private:
    QString FMessage;
    int FCode;
};

} // namespace zvo
