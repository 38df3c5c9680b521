// The public keys whose signatures the update check accepts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kP256CoordinateBytes = 32;

// An ECDSA P-256 public key: X then Y, big-endian.
struct P256PublicKey {
    std::array<uint8_t, 2 * kP256CoordinateBytes> xy;
};

struct TrustedKeys {
    const P256PublicKey* keys;
    size_t count;
};

// The maker's key, and in test builds (HALYARD_TEST_UPDATE_KEY) also the
// test key of tests/update/test-key.pem.
TrustedKeys BuiltInTrustedKeys();
