// schemec: compiles a scheme script into its stored form.
//
//   schemec SCRIPT OUT
//
// The stored form is written to a temporary file beside OUT and renamed over it, so OUT is
// either the old file or the complete new one. On a compile error the positioned message is
// printed and the exit code is 1; OUT is left as it was.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"

namespace {

bool WriteAtomically(const std::filesystem::path& out, const std::string& bytes, std::string& error) {
  std::filesystem::path tmp = out;
  tmp += ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f) {
      error = "cannot create " + tmp.string();
      return false;
    }
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    f.close();
    if (!f) {
      error = "cannot write " + tmp.string();
      std::error_code ignored;
      std::filesystem::remove(tmp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, out, ec);
  if (ec) {
    error = "cannot replace " + out.string() + ": " + ec.message();
    std::filesystem::remove(tmp, ec);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: schemec SCRIPT OUT\n");
    return 2;
  }
  const std::filesystem::path script = argv[1];
  const std::filesystem::path out = argv[2];
  std::string bytes;
  try {
    bytes = vlr::WriteStoredForm(vlr::CompileSchemeFile(script));
  } catch (const vlr::ESchemeError& e) {
    // An error without a position (the script file itself cannot be read) is shown as it is.
    const std::string message = e.Line() > 0 ? e.Message() : e.Text();
    std::fprintf(stderr, "%s: %s\n", script.string().c_str(), message.c_str());
    return 1;
  }
  std::string error;
  if (!WriteAtomically(out, bytes, error)) {
    std::fprintf(stderr, "schemec: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
