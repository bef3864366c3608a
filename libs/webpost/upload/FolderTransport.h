// Upload to a folder of this machine (or a mounted share).
#pragma once

#include "libs/webpost/upload/Transport.h"

namespace vlr::upload {

class FolderTransport : public Transport {
public:
    explicit FolderTransport(std::string folder) : folder_(std::move(folder)) {}
    bool open(std::string& error) override;
    bool put(const std::string& localFile, const std::string& remotePath, std::uint64_t size,
             TransferProgress& progress, bool& cancelled, std::string& error) override;
    bool remove(const std::string& remotePath, std::string& error) override;

private:
    std::string folder_;  // with a trailing "/"
};

}  // namespace vlr::upload
