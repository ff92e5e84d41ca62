#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <utility>

// The message of a failed call, for an Expected of any type:
// `return Failure{QStringLiteral("...")};`.
struct Failure {
    QString error;
};

// What a call that can fail gives back: the value on success, else no value
// and the message for the user. Tests as true on success. The one way the
// program's calls report a failure; `Expected<void>` is for a call with
// nothing else to give back.
template <typename T> class [[nodiscard]] Expected {
public:
    Expected(T value) : m_value(std::move(value)) {}
    Expected(Failure failure) : m_error(std::move(failure.error)) {}
    static Expected failure(const QString& error) { return Failure{error}; }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    const QString& error() const { return m_error; }
    T valueOr(T fallback) const& { return m_value.value_or(std::move(fallback)); }
    T valueOr(T fallback) && { return std::move(m_value).value_or(std::move(fallback)); }

    // The value; only on success.
    const T& operator*() const& { return checked(); }
    T& operator*() & { return checked(); }
    T&& operator*() && { return std::move(checked()); }
    const T* operator->() const { return &checked(); }
    T* operator->() { return &checked(); }

private:
    const T& checked() const {
        Q_ASSERT(m_value.has_value());
        return *m_value;
    }
    T& checked() {
        Q_ASSERT(m_value.has_value());
        return *m_value;
    }

    std::optional<T> m_value;
    QString m_error;
};

template <> class [[nodiscard]] Expected<void> {
public:
    Expected() = default;
    Expected(Failure failure) : m_ok(false), m_error(std::move(failure.error)) {}
    static Expected failure(const QString& error) { return Failure{error}; }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    const QString& error() const { return m_error; }

private:
    bool m_ok = true;
    QString m_error;
};
