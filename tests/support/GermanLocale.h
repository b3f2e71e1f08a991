#pragma once
// Puts a German locale, with its decimal comma, in force for the C library
// and the C++ streams, as Qt does with the user's locale at start-up; builds
// one with localedef when the system has none installed. Back to "C" at the end.

#include "TempDir.h"

#include <locale>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace kovatest {

class GermanLocale {
public:
    GermanLocale();
    ~GermanLocale();
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    // False when no German locale can be had here (the test should skip).
    bool active() const { return active_; }

private:
#if defined(__SANITIZE_ADDRESS__)
    // glibc keeps the search path of a locale loaded through LOCPATH for good.
    __lsan::ScopedDisabler keepLocale_;
#endif
    TempDir folder_;
    std::locale previous_;
    bool active_ = false;
};

} // namespace kovatest
