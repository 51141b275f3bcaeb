#include "bdCore/bdCrypto/bdDHKey.h"

#include <cstring>

#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"

namespace {
constexpr unsigned int kEntropyBytes = 128;

// A Yarrow generator seeded from the random source; false when any step fails.
bool seedYarrow(prng_state& prng) {
  unsigned char entropy[kEntropyBytes];
  bdRandom* random = bdRandom::getInstance();
  if (random == nullptr || !random->getRandomBytes(entropy, sizeof entropy)) return false;
  int err = yarrow_start(&prng);
  if (err != CRYPT_OK) {
    bdLogError("dhkey", "Start error %s.", error_to_string(err));
    return false;
  }
  err = yarrow_add_entropy(entropy, sizeof entropy, &prng);
  std::memset(entropy, 0, sizeof entropy);
  if (err != CRYPT_OK) {
    bdLogError("dhkey", "Add_entropy error %s.", error_to_string(err));
    yarrow_done(&prng);
    return false;
  }
  err = yarrow_ready(&prng);
  if (err != CRYPT_OK) {
    bdLogError("dhkey", "Ready error %s.", error_to_string(err));
    yarrow_done(&prng);
    return false;
  }
  return true;
}
}  // namespace

bdDHKey::bdDHKey() : m_keyPresent(false), m_key() { ltc_mp = ltm_desc; }

bdDHKey::~bdDHKey() { freeKey(); }

void bdDHKey::freeKey() {
  if (m_keyPresent) ecc_free(&m_key);
  m_keyPresent = false;
}

bool bdDHKey::create() {
  const int prngIndex = register_prng(&yarrow_desc);
  if (prngIndex == -1) return false;
  prng_state prng;
  if (!seedYarrow(prng)) return false;
  freeKey();
  const int err = ecc_make_key(&prng, prngIndex, static_cast<int>(KEY_SIZE), &m_key);
  yarrow_done(&prng);
  if (err != CRYPT_OK) {
    bdAssertMsg("bdDHKey::create, unable to create private key.");
    return false;
  }
  m_keyPresent = true;
  return true;
}

bool bdDHKey::exportKey(unsigned char* out, unsigned int& length) {
  if (!m_keyPresent || out == nullptr || length < EXPORTED_SIZE) {
    bdAssertMsg("bdDHKey::export, unable to export public key.");
    return false;
  }
  unsigned long exported = EXPORTED_SIZE;
  const int err = ecc_export(out, &exported, PK_PUBLIC, &m_key);
  if (err != CRYPT_OK) {
    bdAssertMsg("bdDHKey::export, unable to export public key.");
    return false;
  }
  if (exported > EXPORTED_SIZE) {
    bdAssertMsg("bdDHKey::exportKey, wrong length!");
    return false;
  }
  std::memset(out + exported, 0, EXPORTED_SIZE - exported);
  length = EXPORTED_SIZE;
  return true;
}

bool bdDHKey::importKey(const unsigned char* const in, unsigned int length) {
  freeKey();
  if (in == nullptr || ecc_import(in, length, &m_key) != CRYPT_OK) {
    bdLogWarn("dhkey", "Unable to import public key.");
    return false;
  }
  m_keyPresent = true;
  return true;
}

bool bdDHKey::generateSecret(bdDHKey& peer, unsigned char secret[]) {
  if (!m_keyPresent || !peer.m_keyPresent) {
    bdLogWarn("dhkey", "Unable to generate secret key. Error: %s", "no key");
    return false;
  }
  unsigned char shared[128];
  unsigned long length = sizeof shared;
  const int err = ecc_shared_secret(&m_key, &peer.m_key, shared, &length);
  if (err != CRYPT_OK) {
    bdLogWarn("dhkey", "Unable to generate secret key. Error: %s", error_to_string(err));
    return false;
  }
  if (length > SECRET_SIZE) {
    bdAssertMsg("bdDHKey::generateSecret, shared secret wrong size.");
    return false;
  }
  std::memcpy(secret, shared, length);
  std::memset(secret + length, 0, SECRET_SIZE - length);
  return true;
}
