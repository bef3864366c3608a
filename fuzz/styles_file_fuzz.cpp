// Fuzz target of the style file reader: arbitrary bytes give a list or a
// message, never a crash, and a list that loads writes back to the same
// leading bytes it was read from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "authoring/styles/StyleForms.h"
#include "authoring/styles/StyleSheets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  vlr::authoring::TCSSList list;
  const vlr::authoring::StylesError e = list.LoadFromBytes(input);
  if (!e.ok()) {
    if (list.Count() != 0) std::abort();
    return 0;
  }
  // Every record takes at least 84 bytes of the input.
  if (static_cast<std::size_t>(list.Count()) * 84 + 4 > size) std::abort();
  vlr::authoring::TCSSList again;
  if (!again.LoadFromBytes(list.SaveToBytes()).ok() || again.SaveToBytes() != list.SaveToBytes()) std::abort();
  for (int i = 0; i < list.Count(); ++i)
    for (auto form : {vlr::authoring::StyleForm::FullStyleTag, vlr::authoring::StyleForm::StyleDefinition,
                      vlr::authoring::StyleForm::StyleAttribute})
      (void)vlr::authoring::StyleText(*list.Items(i), form, (i & 1) != 0);
  return 0;
}
