// A small test runner for the Windows test programs, which run under Wine where no test framework
// is installed: TEST cases, CHECK and CHECK_EQ, and a closing "N passed, N failed" line.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace fernwick::wintest {

struct Case {
    const char* name;
    void (*run)();
};

inline std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

inline int& failures() {
    static int count = 0;
    return count;
}

struct Registrar {
    Registrar(const char* name, void (*run)()) { cases().push_back({name, run}); }
};

inline bool check(bool ok, const char* what, const char* file, int line) {
    if (!ok) {
        std::printf("%s:%d: check failed: %s\n", file, line, what);
        ++failures();
    }
    return ok;
}

template <typename T>
std::string show(const T& value) {
    std::ostringstream out;
    if constexpr (std::is_same_v<T, std::u16string> || std::is_same_v<T, std::wstring>) {
        out << '"';
        for (auto c : value) {
            if (c >= 32 && c < 127) {
                out << static_cast<char>(c);
            } else {
                out << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
            }
        }
        out << '"';
    } else if constexpr (requires { value.begin(); }) {
        out << '{';
        for (const auto& item : value) out << ' ' << show(item);
        out << " }";
    } else {
        out << value;
    }
    return out.str();
}

template <typename A, typename B>
bool checkEqual(const A& a, const B& b, const char* as, const char* bs, const char* file,
                int line) {
    if (a == b) return true;
    std::printf("%s:%d: %s == %s failed: %s vs %s\n", file, line, as, bs, show(a).c_str(),
                show(b).c_str());
    ++failures();
    return false;
}

// Runs every case (or those whose name contains the first argument); returns the exit status.
inline int runAll(int argc, char** argv) {
    const std::string filter = argc > 1 ? argv[1] : "";
    int passed = 0, failed = 0;
    for (const Case& c : cases()) {
        if (!filter.empty() && std::string(c.name).find(filter) == std::string::npos) continue;
        std::printf("[ RUN      ] %s\n", c.name);
        std::fflush(stdout);
        const int before = failures();
        c.run();
        const bool ok = failures() == before;
        std::printf("[ %s ] %s\n", ok ? "      OK" : " FAILED ", c.name);
        std::fflush(stdout);
        (ok ? passed : failed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

}  // namespace fernwick::wintest

#define TEST(name)                                                             \
    static void name();                                                        \
    static const ::fernwick::wintest::Registrar name##_registrar(#name, name); \
    static void name()
#define CHECK(cond) ::fernwick::wintest::check(static_cast<bool>(cond), #cond, __FILE__, __LINE__)
#define CHECK_EQ(a, b) ::fernwick::wintest::checkEqual((a), (b), #a, #b, __FILE__, __LINE__)
