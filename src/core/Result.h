#pragma once
// A value or the reason there is none. Used where an operation can fail and the
// caller should be able to tell the user why.
#include <QString>
#include <optional>
#include <utility>

template <typename T> class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(QString message) {
        Result r;
        r.m_error = std::move(message);
        return r;
    }
    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T& operator*() const& { return *m_value; }
    const T* operator->() const { return &*m_value; }
    const QString& error() const { return m_error; }

private:
    Result() = default;
    std::optional<T> m_value;
    QString m_error;
};

// The unit result: success, or a message.
class Status {
public:
    Status() = default;
    static Status failure(QString message) {
        Status s;
        s.m_failed = true;
        s.m_error = std::move(message);
        return s;
    }
    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};
