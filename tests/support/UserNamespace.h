#pragma once
// A user namespace of the test program's own, with further namespaces of the
// kernel's (network, mounts) made at the same time: the user is root inside
// it and has its powers over those namespaces, never over the machine.

#include <string>

namespace kovatest {

// Moves the process into a new user namespace and the namespaces named by
// `otherNamespaces` (CLONE_NEW... flags), mapping the user to root there.
// Only while the process has a single thread. False with the reason when
// the kernel refuses.
bool enterUserNamespace(int otherNamespaces, std::string& problem);

} // namespace kovatest
