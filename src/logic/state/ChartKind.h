#pragma once

#include <array>
#include <cstddef>

// The two quantities a chart shows. The humidity charts have one half above the time axis; the
// temperature charts mirror it below for readings under zero.
enum class ChartKind { Humidity, Temperature };

// One T for each chart kind, looked up by kind: the two kinds differ by data, not by code.
template <typename T> struct PerKind {
    std::array<T, 2> byKind{};

    T& operator[](ChartKind kind) { return byKind[index(kind)]; }
    const T& operator[](ChartKind kind) const { return byKind[index(kind)]; }
    auto begin() { return byKind.begin(); }
    auto end() { return byKind.end(); }
    auto begin() const { return byKind.begin(); }
    auto end() const { return byKind.end(); }

private:
    static std::size_t index(ChartKind kind) { return static_cast<std::size_t>(kind); }
};
