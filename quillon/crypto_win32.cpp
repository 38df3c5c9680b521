#include "quillon/crypto_win32.h"

#include <cstring>
#include <vector>

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

Sha256Stream::Sha256Stream() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return;
    algorithm_.Reset(algorithm);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!Succeeded(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) return;
    hash_.Reset(hash);
}

bool Sha256Stream::Update(const void* data, size_t size) {
    if (!hash_) return false;
    // BCryptHashData takes the bytes as non-const and a 32-bit count.
    auto* bytes = static_cast<UCHAR*>(const_cast<void*>(data));
    while (size > 0) {
        const ULONG piece = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
        if (!Succeeded(BCryptHashData(hash_.Get(), bytes, piece, 0))) return false;
        bytes += piece;
        size -= piece;
    }
    return true;
}

bool Sha256Stream::Finish(Sha256Digest* digest) {
    if (!hash_) return false;
    const bool done = Succeeded(BCryptFinishHash(hash_.Get(), digest->data(), kSha256Bytes, 0));
    hash_.Reset();
    return done;
}

bool Sha256(std::string_view data, Sha256Digest* digest) {
    Sha256Stream stream;
    return stream.Update(data.data(), data.size()) && stream.Finish(digest);
}

bool VerifyP256(const P256PublicKey& key, const Sha256Digest& digest, const P256Signature& signature) {
    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) {
        return false;
    }
    win32::ScopedAlgorithm algorithm(rawAlgorithm);

    // The public blob: header, then X and Y.
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + key.xy.size());
    BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kP256CoordinateBytes};
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, key.xy.data(), key.xy.size());
    BCRYPT_KEY_HANDLE rawKey = nullptr;
    if (!Succeeded(BCryptImportKeyPair(algorithm.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &rawKey,
                                       blob.data(), static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    win32::ScopedKey publicKey(rawKey);

    Sha256Digest hash = digest;
    P256Signature sig = signature;
    return BCryptVerifySignature(publicKey.Get(), nullptr, hash.data(), kSha256Bytes, sig.data(),
                                 kSignatureBytes, 0) == 0;
}

bool IsSignedByTrustedKey(std::string_view signedBytes, const P256Signature& signature,
                          const TrustedKeys& keys) {
    Sha256Digest digest;
    if (!Sha256(signedBytes, &digest)) return false;
    for (size_t i = 0; i < keys.count; ++i) {
        if (VerifyP256(keys.keys[i], digest, signature)) return true;
    }
    return false;
}
