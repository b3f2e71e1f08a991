#pragma once
// Chooses the interface language at start-up: the catalog named by the
// command-line option "lang:", else the default catalog.

#include <string>

namespace kova {

inline constexpr const char* LANGUAGE_OPTION = "lang:";

// Loads the catalog into the translation layer; true when one is loaded.
bool initLanguage(const std::string& commandLine, const std::string& defaultCatalogPath);

} // namespace kova
