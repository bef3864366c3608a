// How files reach a destination. Every file is written under a temporary
// name beside its final name and renamed when it has arrived whole, where the
// destination allows it, so an interrupted transfer never leaves a partial
// page under the real name.
#pragma once

#include "libs/webpost/upload/Destination.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vlr::upload {

// The error of a transfer stopped because the progress asked to stop.
inline constexpr const char* kCancelled = "Cancelled.";

// Told about the bytes of the current file; answers false to cancel.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    virtual bool bytesSent(std::uint64_t done, std::uint64_t total) = 0;
};

class Transport {
public:
    virtual ~Transport() = default;
    // Connects and logs in; false with a reason when that fails.
    virtual bool open(std::string& error) = 0;
    // Sends a local file to the relative path under the destination.
    // False with a reason when it did not arrive whole; cancelled is set when
    // the progress asked to stop, and the reason is then kCancelled, or says
    // what of the partial file could not be cleared away.
    virtual bool put(const std::string& localFile, const std::string& remotePath, std::uint64_t size,
                     TransferProgress& progress, bool& cancelled, std::string& error) = 0;
    // Deletes the file at the relative path; a file already gone is success.
    virtual bool remove(const std::string& remotePath, std::string& error) = 0;
};

// The temporary name a file is written under before it is renamed.
std::string TemporaryNameFor(const std::string& remotePath);

}  // namespace vlr::upload
