#include "libs/webpost/upload/SecretStore.h"

#include <libsecret/secret.h>

#include <cstdlib>
#include <cstring>

namespace vlr::upload {
namespace {

const SecretSchema* Schema() {
    static const SecretSchema schema = [] {
        SecretSchema s;
        std::memset(&s, 0, sizeof s);
        s.name = "org.velora.Upload";
        s.flags = SECRET_SCHEMA_NONE;
        s.attributes[0].name = "destination";
        s.attributes[0].type = SECRET_SCHEMA_ATTRIBUTE_STRING;
        s.attributes[1].name = "user";
        s.attributes[1].type = SECRET_SCHEMA_ATTRIBUTE_STRING;
        return s;
    }();
    return &schema;
}

std::string TakeError(GError* error) {
    std::string text = error && error->message ? error->message : "the secret store failed";
    if (error)
        g_error_free(error);
    return text;
}

}  // namespace

bool SecretStoreAvailable() {
    if (std::getenv("VELORA_NO_SECRET_STORE"))
        return false;
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    return bus && *bus;
}

std::optional<std::string> LookupPassword(const std::string& location, const std::string& user) {
    if (!SecretStoreAvailable())
        return std::nullopt;
    GError* error = nullptr;
    gchar* password = secret_password_lookup_sync(Schema(), nullptr, &error, "destination", location.c_str(),
                                                  "user", user.c_str(), nullptr);
    if (error) {
        g_error_free(error);
        return std::nullopt;
    }
    if (!password)
        return std::nullopt;
    std::string out(password);
    secret_password_free(password);
    return out;
}

bool StorePassword(const std::string& location, const std::string& user, const std::string& password,
                   std::string* errorText) {
    if (!SecretStoreAvailable()) {
        if (errorText)
            *errorText = "No secret store is running.";
        return false;
    }
    GError* error = nullptr;
    const std::string label = "Velora upload to " + location + (user.empty() ? "" : " as " + user);
    gboolean ok = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(),
                                             nullptr, &error, "destination", location.c_str(), "user",
                                             user.c_str(), nullptr);
    if (!ok || error) {
        std::string why = TakeError(error);
        if (errorText)
            *errorText = why;
        return false;
    }
    return true;
}

void ForgetPassword(const std::string& location, const std::string& user) {
    if (!SecretStoreAvailable())
        return;
    GError* error = nullptr;
    secret_password_clear_sync(Schema(), nullptr, &error, "destination", location.c_str(), "user", user.c_str(),
                               nullptr);
    if (error)
        g_error_free(error);
}

}  // namespace vlr::upload
