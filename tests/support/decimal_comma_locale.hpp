#pragma once
// Switches the whole process, the C library and the C++ global locale, to a
// locale whose decimal separator is a comma, as a host application may at
// any time, and restores both at the end of the scope.

#include <clocale>
#include <locale>
#include <stdexcept>
#include <string>

namespace locale_test {

class DecimalCommaLocale {
public:
    DecimalCommaLocale() : savedC(std::setlocale(LC_ALL, nullptr)), savedGlobal(std::locale())
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                try {
                    std::locale::global(std::locale(name));
                } catch (const std::runtime_error&) {
                    continue;
                }
                switched = true;
                return;
            }
        }
    }
    ~DecimalCommaLocale()
    {
        std::locale::global(savedGlobal);
        std::setlocale(LC_ALL, savedC.c_str());
    }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    // False when no such locale is installed; tests then skip with MISSING.
    bool active() const { return switched; }

    static constexpr const char* MISSING = "no decimal-comma locale installed (scripts/setup.sh installs de_DE.UTF-8)";

private:
    std::string savedC;
    std::locale savedGlobal;
    bool switched = false;
};

} // namespace locale_test
