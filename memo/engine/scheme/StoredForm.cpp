// Stored form of compiled scheme tables: version word, length and compressed table data.
#include "memo/engine/scheme/StoredForm.h"

#include <new>
#include <string>

#include "memo/engine/scheme/Compressor.h"
#include "memo/engine/scheme/SchemeError.h"
#include "memo/engine/scheme/StoredFormIO.h"

namespace vlr {

namespace {

constexpr std::size_t kPrefixSize = 6;  // version word and uncompressed length
// Largest table data accepted. Compiled schemes are far smaller (the HTML scheme is about
// 144 KB); the bound keeps a damaged or hostile file from making the reader allocate gigabytes,
// since run items let a few megabytes of compressed data expand a thousandfold.
constexpr std::uint32_t kMaxTableBytes = 16u << 20;

TStoredFormResult Failure(std::string message) {
  TStoredFormResult r;
  r.message = std::move(message);
  return r;
}

}  // namespace

std::string WriteStoredForm(const TSchemeTables& tables) {
  TByteWriter data;
  WriteTables(data, tables);
  WriteExtensions(data, tables);
  const std::string plain = data.Take();
  TByteWriter prefix;
  prefix.U16(kStoredFormVersion);
  prefix.U32(static_cast<std::uint32_t>(plain.size()));
  return prefix.Take() + TCompressor::encode(plain);
}

TStoredFormResult ReadStoredForm(std::string_view bytes, std::string_view parserName) {
  if (bytes.size() < 2) return Failure("Stored scheme is truncated: no version word");
  TByteReader head(bytes);
  const std::uint16_t version = head.U16();
  if (version != kStoredFormVersion) {
    TStoredFormResult r = Failure(SchemeMessage(
        TSchemeErrorId::VersionMismatch,
        {std::string(parserName), static_cast<long long>(kStoredFormVersion), static_cast<long long>(version)}));
    r.versionMismatch = true;
    return r;
  }
  if (bytes.size() < kPrefixSize) return Failure("Stored scheme is truncated: no data length");
  const std::uint32_t length = head.U32();
  if (length > kMaxTableBytes)
    return Failure("Stored scheme is damaged: its tables would be " + std::to_string(length) + " bytes long (at most " +
                   std::to_string(kMaxTableBytes) + ")");
  // The compressed data declares the length again; it must be the one checked above, so that
  // decoding never produces more than that.
  const std::string_view packed = bytes.substr(kPrefixSize);
  if (packed.size() >= TCompressor::kHeaderSize) {
    TByteReader inner(packed.substr(4, 4));
    if (inner.U32() != length) return Failure("Stored scheme is corrupt: the data length does not match");
  }

  try {
    std::string plain;
    try {
      plain = TCompressor::decode(packed);
    } catch (const ECompressorError& e) {
      return Failure(e.what());
    }
    if (plain.size() != length) return Failure("Stored scheme is corrupt: the data length does not match");
    TByteReader r(plain);
    TStoredFormResult result;
    result.tables = ReadTables(r);
    ReadExtensions(r, *result.tables);
    return result;
  } catch (const EStoredFormError& e) {
    return Failure(e.what());
  } catch (const std::bad_alloc&) {
    return Failure("Stored scheme is damaged: not enough memory to read it");
  }
}

}  // namespace vlr
