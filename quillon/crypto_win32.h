// SHA-256 and ECDSA P-256 verification through the system's CNG.
#pragma once

#include <cstddef>
#include <string_view>

#include "quillon/announcement.h"
#include "quillon/handles_win32.h"
#include "quillon/keys/trusted_keys.h"

// A running SHA-256 over data handed in pieces.
class Sha256Stream {
public:
    Sha256Stream();
    // False when CNG could not set the hash up; nothing else works then.
    bool IsValid() const { return hash_.IsValid(); }
    bool Update(const void* data, size_t size);
    // Ends the hash; the stream is spent afterwards.
    bool Finish(Sha256Digest* digest);

private:
    win32::ScopedAlgorithm algorithm_;
    win32::ScopedHash hash_;
};

bool Sha256(std::string_view data, Sha256Digest* digest);

// True when signature (r then s) is valid for digest under key.
bool VerifyP256(const P256PublicKey& key, const Sha256Digest& digest, const P256Signature& signature);

// True when one of keys signed signedBytes (its SHA-256).
bool IsSignedByTrustedKey(std::string_view signedBytes, const P256Signature& signature,
                          const TrustedKeys& keys);
