// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <clocale>
#include <string>

// Switches the C library to a decimal-comma locale (de_DE) for a test's
// duration, as a user's environment does for the whole program. available()
// is false where the locale is not installed.
class DecimalCommaLocale {
  public:
    DecimalCommaLocale()
    {
        const char *current = std::setlocale(LC_ALL, nullptr);
        previous_ = current ? current : "C";
        available_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale &) = delete;
    DecimalCommaLocale &operator=(const DecimalCommaLocale &) = delete;

    bool available() const { return available_; }

  private:
    std::string previous_;
    bool available_ = false;
};
