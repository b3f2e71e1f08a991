// Arbitrary bytes as the content of the settings file: the loader must log
// and refuse, never read outside its buffer, leak or crash.

#include "config/SettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <unistd.h>

// The loader reports to "errors.txt" in the working directory; keep that
// out of wherever the fuzzer was started.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char folder[] = "/tmp/kova-settings-fuzz-XXXXXX";
    if (::mkdtemp(folder) == nullptr || ::chdir(folder) != 0)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PropertyModel model;
    if (SettingsFile::parse(SettingsFile::NAME, data, size, model) && !model.hasFixedSizes())
        __builtin_trap();
    return 0;
}
