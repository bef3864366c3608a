// This user's private folder for temporary and exchange files. The shared
// temporary folder (TempDir()) is only for names made unique when they are
// created: anyone can plant a file or a link under a fixed name there.
#pragma once

#include <string>

namespace vlr {

// The private folder, with a trailing "/": $XDG_RUNTIME_DIR/velora/ when that
// runtime folder is the user's own, otherwise the cache folder's velora/tmp/
// ($XDG_CACHE_HOME, default ~/.cache). It is made when missing, must be a
// real folder (not a link) owned by the user and is kept at mode 0700. ""
// when no such folder can be had.
std::string PrivateTempDir();

// PrivateTempDir() + name; "" (which no file operation accepts) when there is
// no private folder. Program and modules agree on exchange files through it.
std::string PrivateTempFile(const std::string& name);

}  // namespace vlr
