#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace kova {

/// Outcome of an operation that can be refused for an expected reason (bad input, a
/// lookup without data, a rejected file). The reason is a sentence for the user.
class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Fail(std::string reason) { return Status(std::move(reason)); }

    bool ok() const { return !m_reason.has_value(); }
    explicit operator bool() const { return ok(); }
    /// Empty when ok().
    const std::string& reason() const {
        static const std::string none;
        return m_reason ? *m_reason : none;
    }

private:
    Status() = default;
    explicit Status(std::string reason) : m_reason(std::move(reason)) {}
    std::optional<std::string> m_reason;
};

/// A value, or the reason why there is none.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Status failure) : m_status(std::move(failure)) { assert(!m_status.ok()); }
    static Result Fail(std::string reason) { return Result(Status::Fail(std::move(reason))); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    /// The value; asking a failure for one is a fault of the program.
    const T& value() const {
        assert(ok() && "Result::value() on a failure");
        return *m_value;
    }
    T& value() {
        assert(ok() && "Result::value() on a failure");
        return *m_value;
    }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const std::string& reason() const { return m_status.reason(); }
    const Status& status() const { return m_status; }

private:
    std::optional<T> m_value;
    Status m_status = Status::Ok();
};

} // namespace kova
