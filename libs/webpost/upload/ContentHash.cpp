#include "libs/webpost/upload/ContentHash.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vlr::upload {
namespace {

struct DigestDeleter {
    void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};
using Digest = std::unique_ptr<EVP_MD_CTX, DigestDeleter>;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string Hex(const unsigned char* bytes, unsigned size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (unsigned i = 0; i < size; ++i) {
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 0x0F]);
    }
    return out;
}

Digest NewDigest() {
    Digest ctx(EVP_MD_CTX_new());
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
    return ctx;
}

std::string Finish(EVP_MD_CTX* ctx) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    EVP_DigestFinal_ex(ctx, out, &size);
    return Hex(out, size);
}

}  // namespace

std::optional<std::string> HashFile(const std::string& path, std::string* error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (error)
            *error = "Cannot read " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    Digest ctx = NewDigest();
    char buffer[65536];
    for (;;) {
        std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        if (n > 0)
            EVP_DigestUpdate(ctx.get(), buffer, n);
        if (n < sizeof buffer) {
            if (std::ferror(file.get())) {
                if (error)
                    *error = "Cannot read " + path + ": " + std::strerror(errno);
                return std::nullopt;
            }
            break;
        }
    }
    return Finish(ctx.get());
}

std::string HashText(const std::string& text) {
    Digest ctx = NewDigest();
    EVP_DigestUpdate(ctx.get(), text.data(), text.size());
    return Finish(ctx.get());
}

}  // namespace vlr::upload
