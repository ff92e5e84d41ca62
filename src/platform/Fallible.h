#pragma once

#include <QString>
#include <optional>
#include <utility>

// What a core call that can fail gives back: the value on success, else no
// value and the message for the user. Tests as true on success.
template <typename T> class Fallible {
public:
    Fallible(T value) : m_value(std::move(value)) {}
    static Fallible failure(const QString& error) { return Fallible(error, 0); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }
    T valueOr(T fallback) const { return m_value.value_or(std::move(fallback)); }

    const T& operator*() const& { return *m_value; }
    T& operator*() & { return *m_value; }
    T&& operator*() && { return *std::move(m_value); }
    const T* operator->() const { return &*m_value; }
    T* operator->() { return &*m_value; }

private:
    Fallible(const QString& error, int) : m_error(error) {}

    std::optional<T> m_value;
    QString m_error;
};

// The result of a core call that can fail and gives nothing else back:
// success, or failure with the message for the user.
class Status {
public:
    Status() = default;
    static Status failure(const QString& error) { return Status(error); }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }

private:
    explicit Status(const QString& error) : m_ok(false), m_error(error) {}

    bool m_ok = true;
    QString m_error;
};
