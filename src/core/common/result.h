// The outcome of anything that can fail on I/O or bad input: a status and a French sentence for the user.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace zorv::common {

enum class Status {
    Ok,
    NotFound, // the file or item does not exist
    AccessDenied, // the user may not read or write it
    BadFormat, // the bytes are not what we expect: refused, nothing changed
    IoError, // the system failed a read, write, sync or rename
    Busy, // another process holds it
    Refused, // a rule of the program says no (a limit, an impossible value)
    Cancelled, // the user said no
};

// A caller cannot drop one by accident: it is [[nodiscard]], and it converts to bool only explicitly.
class [[nodiscard]] Result {
public:
    Result() = default;
    static Result success() { return {}; }
    static Result failure(Status status, std::string message)
    {
        Result r;
        r.m_status = status == Status::Ok ? Status::IoError : status;
        r.m_message = std::move(message);
        return r;
    }

    bool ok() const { return m_status == Status::Ok; }
    explicit operator bool() const { return ok(); }
    Status status() const { return m_status; }
    // UTF-8, for the user; empty when ok.
    const std::string &message() const { return m_message; }

private:
    Status m_status = Status::Ok;
    std::string m_message;
};

// A value, or the reason there is none.
template <typename T> class [[nodiscard]] ResultOr {
public:
    ResultOr(T value)
        : m_value(std::move(value))
    {
    }
    ResultOr(Result failure)
        : m_result(std::move(failure))
    {
        if (m_result.ok())
            m_result = Result::failure(Status::IoError, {});
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    Status status() const { return m_result.status(); }
    const std::string &message() const { return m_result.message(); }
    const Result &result() const { return m_result; }

    // Reading the value of a failure is a programming error: it stops the program in every build
    // instead of handing out an empty value that would be saved as a dive.
    T &value() & { return checked(); }
    const T &value() const & { return checked(); }
    T &&value() && { return std::move(checked()); }
    T *operator->() { return &checked(); }
    const T *operator->() const { return &checked(); }
    T &operator*() & { return checked(); }
    const T &operator*() const & { return checked(); }

private:
    T &checked()
    {
        if (!m_value) [[unlikely]]
            failedAccess(m_result.message());
        return *m_value;
    }
    const T &checked() const
    {
        if (!m_value) [[unlikely]]
            failedAccess(m_result.message());
        return *m_value;
    }
    [[noreturn]] static void failedAccess(const std::string &message)
    {
        std::fprintf(stderr, "zorv: the value of a failed result was read (%s)\n", message.c_str());
        std::abort();
    }

    std::optional<T> m_value;
    Result m_result;
};

} // namespace zorv::common
