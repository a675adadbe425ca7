#pragma once
// What keeps a conversion from reaching the network: a document may link remote pictures, and
// fetching them would tell a stranger that, when and with which LibreOffice it was opened.

#include <string>

// The profile's registrymodifications.xcu text with LibreOffice's "block links from documents not
// among the trusted locations" set; any earlier value of it is dropped. Empty or broken text gives
// a file of that one setting.
std::string WithExternalLinksBlocked(const std::string& xcu);

// Writes that setting into PROFILE_DIR/user/registrymodifications.xcu; false when it cannot.
bool BlockExternalLinks(const std::string& profileDir);

// Moves the calling process into a network namespace of its own, with no interface up; a user
// namespace comes with it where the process lacks the privilege. False where the system refuses.
bool LeaveNetwork();
