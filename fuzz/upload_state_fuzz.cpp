// Fuzz target of the upload state readers: arbitrary bytes as the remembered
// destinations and as the hash store of a destination give lists, never a
// crash; only safe relative paths and well-formed hashes are taken, and
// what was read writes back to a store that reads the same.
#include "FuzzFile.h"

#include "libs/webpost/upload/ContentHash.h"
#include "libs/webpost/upload/Destination.h"
#include "libs/webpost/upload/UploadState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vlrfuzz::FuzzFolder folder;
    static const vlr::upload::Destination destination = [] {
        vlr::upload::Destination d;
        d.kind = vlr::upload::DestinationKind::Folder;
        d.location = "/fuzz/www/";
        return d;
    }();
    static const std::string store = "sent-" + vlr::upload::HashText(vlr::upload::DestinationKey(destination)).substr(0, 16);
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    folder.write("destinations", input);
    for (const vlr::upload::RememberedDestination& d : vlr::upload::LoadDestinations(folder.path()))
        if (d.location.empty())
            std::abort();

    folder.write(store, input);
    const vlr::upload::HashStore hashes(folder.path(), destination);
    for (const auto& [path, hash] : hashes.entries())
        if (!vlr::upload::IsSafeRelativePath(path) || hash.size() != 64)
            std::abort();
    if (!hashes.save())
        std::abort();
    const vlr::upload::HashStore again(folder.path(), destination);
    if (again.entries() != hashes.entries())
        std::abort();
    return 0;
}
