// The run-time's exception classes: every failure of the library is a tarnel::Exception whose what() is
// exactly the message it was raised with.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace tarnel {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const noexcept { return FMessage; }

private:
    std::string FMessage;
};

// Raised to end a user action quietly: the program's event guard drops it without a message.
class EAbort : public Exception {
public:
    explicit EAbort(std::string message = "Operation aborted") : Exception(std::move(message)) {}
};

// Integer division by zero.
class EDivByZero : public Exception {
public:
    EDivByZero() : Exception("Division by zero") {}
};

}  // namespace tarnel
