// Upload to a server over FTP, FTP with TLS or SFTP, through libcurl. One
// connection is kept for all the files of an upload.
#pragma once

#include "libs/webpost/upload/Transport.h"

#include <string>

namespace vlr::upload {

class CurlTransport : public Transport {
public:
    CurlTransport(Destination destination, std::string user, std::string password);
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
    // The path the server's own commands take for a relative path.
    std::string commandPath(const std::string& remotePath) const;
    bool isSftp() const { return destination_.kind == DestinationKind::Sftp; }
    bool exists(const std::string& remotePath);
    // Runs the prepared request; a CURLcode.
    int perform();

    Destination destination_;
    std::string user_;
    std::string password_;
    std::string root_;      // scheme://authority/
    std::string basePath_;  // decoded path of the destination, with a trailing "/"
    void* curl_ = nullptr;
    void* multi_ = nullptr;  // keeps the connection between requests
    char errorBuffer_[256] = {};
};

}  // namespace vlr::upload
