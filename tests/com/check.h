// A small check framework for the console runner under wine, where the
// native GoogleTest is not available: named cases, checks that report
// file, line and both values, and a closing "N passed, M failed" line.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace check {

void registerCase(const char* name, void (*run)());
void failure(const char* file, int line, const std::string& text);
// Runs every case in the order of registration; the process's exit code.
int runAll(const std::string& filter);

template <class T> std::string shown(const T& value)
{
    std::ostringstream out;
    if constexpr (std::is_same_v<T, std::string>)
        out << '"' << value << '"';
    else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        out << "{";
        for (std::size_t i = 0; i < value.size(); ++i)
            out << (i ? ", " : "") << '"' << value[i] << '"';
        out << "}";
    } else if constexpr (std::is_same_v<T, bool>)
        out << (value ? "true" : "false");
    else if constexpr (std::is_integral_v<T>)
        out << static_cast<long long>(value);
    else
        out << value;
    return out.str();
}

template <class A, class B>
void equal(const A& actual, const B& expected, const char* actualText, const char* file, int line)
{
    if (!(actual == expected))
        failure(file, line,
                std::string(actualText) + "\n      ist:  " + shown(actual) +
                    "\n      soll: " + shown(B(expected)));
}

struct Registrar {
    Registrar(const char* name, void (*run)()) { registerCase(name, run); }
};

}  // namespace check

#define CASE(name)                                                                                           \
    static void name();                                                                                      \
    static const check::Registrar name##Registrar(#name, name);                                              \
    static void name()

#define CHECK(condition) ((condition) ? void() : check::failure(__FILE__, __LINE__, "CHECK(" #condition ")"))
#define CHECK_EQ(actual, expected) check::equal((actual), (expected), #actual, __FILE__, __LINE__)
