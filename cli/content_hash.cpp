// SHA-256 through the platform's provider: OpenSSL's libcrypto on POSIX, CNG (bcrypt) on Windows.
#include "content_hash.h"

#include <array>

#if defined(_WIN32)
// <bcrypt.h> needs the types of <windows.h>, so that comes first, in a block of its own.
#include <windows.h>

#include <bcrypt.h>
#else
#include <openssl/evp.h>
#endif

namespace OAuthClient {
namespace Cli {

namespace {

constexpr size_t kDigestBytes = 32;

std::string Hex(const unsigned char* bytes, size_t count) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < count; ++i) {
    hex += kHex[bytes[i] >> 4];
    hex += kHex[bytes[i] & 0x0F];
  }
  return hex;
}

}  // namespace

std::optional<std::string> Sha256Hex(std::string_view bytes) {
  std::array<unsigned char, kDigestBytes> digest{};
#if defined(_WIN32)
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return std::nullopt;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool hashed = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
  hashed = hashed && BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                    static_cast<ULONG>(bytes.size()), 0) == 0;
  hashed = hashed && BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0) == 0;
  if (hash != nullptr) BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!hashed) return std::nullopt;
#else
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
      length != kDigestBytes)
    return std::nullopt;
#endif
  return Hex(digest.data(), digest.size());
}

}  // namespace Cli
}  // namespace OAuthClient
