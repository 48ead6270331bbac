#include "tests/com/check.h"

#include <cstdio>
#include <exception>

namespace check {

namespace {
struct Case {
    const char* name;
    void (*run)();
};
std::vector<Case>& cases()
{
    static std::vector<Case> all;
    return all;
}
std::vector<std::string> failures;
}  // namespace

void registerCase(const char* name, void (*run)())
{
    cases().push_back({name, run});
}

void failure(const char* file, int line, const std::string& text)
{
    failures.push_back(std::string(file) + ":" + std::to_string(line) + ": " + text);
}

int runAll(const std::string& filter)
{
    int passed = 0, failed = 0;
    for (const Case& c : cases()) {
        if (!filter.empty() && std::string(c.name).find(filter) == std::string::npos)
            continue;
        failures.clear();
        try {
            c.run();
        } catch (const std::exception& error) {
            failures.push_back(std::string("unerwartete Ausnahme: ") + error.what());
        } catch (...) {
            failures.push_back("unerwartete Ausnahme");
        }
        if (failures.empty()) {
            ++passed;
            std::printf("[  OK  ] %s\n", c.name);
        } else {
            ++failed;
            std::printf("[FEHLER] %s\n", c.name);
            for (const std::string& f : failures)
                std::printf("    %s\n", f.c_str());
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

}  // namespace check
