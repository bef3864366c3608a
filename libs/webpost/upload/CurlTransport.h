// Upload to a server over FTP, FTP with TLS or SFTP, through libcurl. One
// connection is kept for all the files of an upload.
#pragma once

#include "libs/webpost/upload/Transport.h"

#include <string>

namespace vlr::upload {

// What a secure connection checks the server against, and the key offered.
struct CurlSecurity {
    std::string caFile;          // ftps/ftpes: trusted authorities; empty: the system's
    std::string knownHostsFile;  // sftp: empty: ~/.ssh/known_hosts
    std::string sshKeyFile;      // sftp: empty: the first of ~/.ssh/id_ed25519, id_ecdsa, id_rsa
};

class CurlTransport : public Transport {
public:
    CurlTransport(Destination destination, std::string user, std::string password, CurlSecurity security = {});
    ~CurlTransport() override;
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    bool open(std::string& error) override;
    bool put(const std::string& localFile, const std::string& remotePath, std::uint64_t size,
             TransferProgress& progress, bool& cancelled, std::string& error) override;
    bool remove(const std::string& remotePath, std::string& error) override;

private:
    struct Request;
    void prepare(const std::string& url);
    std::string urlFor(const std::string& remotePath) const;
    // The absolute path the server's own commands take for a relative path:
    // commands such as DELE or RNTO must not depend on the folder the
    // connection was left in by the transfer before. Empty when the server
    // did not say which folder it logs in to.
    std::string commandPath(const std::string& remotePath) const;
    // A command removing the file at a relative path, or "" when none can be made.
    std::string deleteCommand(const std::string& remotePath, bool mayFail) const;
    // Best effort: removes what an unfinished put left under the temporary
    // name; "" when it is gone, otherwise why not.
    std::string clearPartial(const std::string& remotePath);
    bool isSftp() const { return destination_.kind == DestinationKind::Sftp; }
    bool exists(const std::string& remotePath);
    // Runs the prepared request; a CURLcode.
    int perform();

    Destination destination_;
    std::string user_;
    std::string password_;
    CurlSecurity security_;
    std::string knownHosts_;  // the file in use, for sftp
    std::string sshKey_;      // the private key offered, for sftp; may be empty
    std::string publicKey_;
    std::string entryPath_;   // the folder the server logs in to, without a trailing "/"
    std::string root_;      // scheme://authority/
    std::string basePath_;  // decoded path of the destination, with a trailing "/"
    void* curl_ = nullptr;
    void* multi_ = nullptr;  // keeps the connection between requests
    char errorBuffer_[256] = {};
};

}  // namespace vlr::upload
