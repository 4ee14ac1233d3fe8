#pragma once

#include "logic/result/ExitStatus.h"

#include <QString>
#include <type_traits>
#include <utility>
#include <variant>

// Why something could not be done, as the user should read it, and the status a run that ends
// because of it exits with.
struct Failure {
    int exitStatus = ExitStatus::Software;
    QString message;
};

// A value, or the failure that stands in its place: the one way anything that can fail says so.
// Result<> carries no value: done, or why not.
template <typename T = std::monostate> class [[nodiscard]] Result {
public:
    Result() requires std::is_same_v<T, std::monostate>
    = default;
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<T>(state_); }
    T& value() & { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }

    const Failure& failure() const { return std::get<Failure>(state_); }

private:
    std::variant<T, Failure> state_;
};
