// Texts that cross from plug-ins: zero-ended bytes, read as UTF-8 (the form
// documents are kept in), with a byte that is not part of valid UTF-8 taken
// as its Latin-1 character, so that older plug-ins' texts still read.
#pragma once

#include <QString>

#include <string_view>

namespace vlr {

[[nodiscard]] QString PlugInString(std::string_view bytes);
// A plug-in's text as a menu caption: its "&" is shown, not taken as the
// mark of an access key.
[[nodiscard]] QString PlugInCaption(std::string_view bytes);

}  // namespace vlr
