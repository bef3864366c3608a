// Upload passwords in the desktop's secret store (through libsecret), keyed by
// destination and user. Without a running secret service every call answers
// "not available" and the caller asks for the password each time instead.
#pragma once

#include <optional>
#include <string>

namespace vlr::upload {

// True when a session bus exists to reach a secret service, and
// VELORA_NO_SECRET_STORE is not set.
bool SecretStoreAvailable();
// The stored password; nothing when none is stored or the store is unavailable.
std::optional<std::string> LookupPassword(const std::string& location, const std::string& user);
bool StorePassword(const std::string& location, const std::string& user, const std::string& password,
                   std::string* error = nullptr);
void ForgetPassword(const std::string& location, const std::string& user);

}  // namespace vlr::upload
