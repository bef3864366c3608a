// Fuzz target of the build record reader: arbitrary bytes in the record file
// give a record (empty when the file is foreign or damaged), never a crash;
// a record that was read writes back a file that reads to the same record.
#include "FuzzFile.h"

#include "project/build/BuildRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vlrfuzz::FuzzFolder folder;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string path = folder.write(".vlrbuild", input);

    vlr::build::BuildRecord record;
    record.Load(path);
    std::unordered_map<std::string, vlr::build::FileStamp> stamps;
    (void)record.UpToDate("/fuzz/out/page.html", "/fuzz/src/page.hts", stamps);

    const std::string copy = folder.path() + "copy";
    std::string error;
    if (!record.Save(copy, &error))
        std::abort();
    vlr::build::BuildRecord again;
    again.Load(copy);
    // Pages under names that cannot be recorded are left out; nothing is added.
    if (again.size() > record.size() || again.Changed())
        std::abort();
    // Written twice, the same bytes.
    const std::string second = folder.path() + "second";
    if (!again.Save(second, &error))
        std::abort();
    std::string first, other;
    if (!vlr::build::ReadWholeFile(copy, first) || !vlr::build::ReadWholeFile(second, other) || first != other)
        std::abort();
    return 0;
}
