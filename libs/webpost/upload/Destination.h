// Where an upload goes: a local folder or a server address (ftp://, ftps://
// for implicit TLS, ftpes:// for FTP with explicit TLS, sftp://).
#pragma once

#include <optional>
#include <string>

namespace vlr::upload {

enum class DestinationKind { Folder, Ftp, Ftps, FtpExplicitTls, Sftp };

struct Destination {
    DestinationKind kind = DestinationKind::Folder;
    // The folder (absolute, with a trailing "/") or the address without user
    // and password, with a trailing "/" and the scheme in lower case.
    std::string location;
    // A user and password written into the address; the password is never
    // part of location, so it is never remembered with it.
    std::string user;
    std::string password;

    bool isFolder() const { return kind == DestinationKind::Folder; }
    bool needsLogin() const { return !isFolder(); }
};

// Parses what the user typed. A text without "://" (or with "file://") is a
// folder; relative folders are taken from the current directory. Unknown
// schemes, empty hosts and line breaks are refused with a reason.
std::optional<Destination> ParseDestination(const std::string& text, std::string* error = nullptr);

// The key under which a destination's state is kept: kind, location and user.
std::string DestinationKey(const Destination& destination);

}  // namespace vlr::upload
