#include "guards/sha256_win.h"

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>

namespace averlune {
namespace {

// The provider and the hash object are released in reverse order on every path.
struct Provider {
  HCRYPTPROV handle = 0;
  ~Provider() {
    if (handle) CryptReleaseContext(handle, 0);
  }
};
struct Hash {
  HCRYPTHASH handle = 0;
  ~Hash() {
    if (handle) CryptDestroyHash(handle);
  }
};

}  // namespace

std::u16string sha256Hex(const std::string& bytes) {
  Provider provider;
  // No key container is needed to hash; the AES provider is the one that knows SHA-256.
  if (!CryptAcquireContextW(&provider.handle, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
    return {};
  }
  Hash hash;
  if (!CryptCreateHash(provider.handle, CALG_SHA_256, 0, 0, &hash.handle)) return {};
  // CryptHashData takes a DWORD length: feed large logs in pieces.
  constexpr std::size_t kPiece = 1u << 30;
  for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
    const DWORD length = static_cast<DWORD>(std::min(kPiece, bytes.size() - at));
    if (!CryptHashData(hash.handle, reinterpret_cast<const BYTE*>(bytes.data() + at), length, 0)) return {};
  }
  BYTE digest[32];
  DWORD length = sizeof digest;
  if (!CryptGetHashParam(hash.handle, HP_HASHVAL, digest, &length, 0) || length != sizeof digest) return {};
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text;
  for (BYTE b : digest) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

}  // namespace averlune
