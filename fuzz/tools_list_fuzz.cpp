// Fuzz target of the name/value list reader behind "tools.dat" (and the
// project and exchange variable lists): arbitrary bytes give a list or an
// error that leaves the list as it was, never a crash or an allocation the
// file cannot back; a list that loads writes a form that loads to itself.
#include "appearance/UserSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// The platform's private folder comes from its Qt part, which this target
// does not link; without one, backup copies stay beside the file.
namespace vlr {
std::string PrivateTempDir() { return {}; }
}  // namespace vlr

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    vlr::TUserSettingList list;
    list.Add("kept", "as it was");
    try {
        list.LoadFromBytes(input, "tools.dat");
    } catch (const vlr::EUserSettingsError&) {
        // A refused file changes nothing.
        if (list.Count() != 1 || list.Items(0)->Name != "kept" || list.Items(0)->Value != "as it was")
            std::abort();
        return 0;
    }
    // Every entry takes at least eight bytes of the input.
    if (static_cast<std::size_t>(list.Count()) * 8 + 4 > size)
        std::abort();
    const std::string written = list.ToBytes();
    vlr::TUserSettingList again;
    again.LoadFromBytes(written);
    if (again.Count() != list.Count() || again.ToBytes() != written)
        std::abort();
    for (int i = 0; i < list.Count(); ++i)
        if (list.FindSetting(list.Items(i)->Name) == nullptr)
            std::abort();
    return 0;
}
