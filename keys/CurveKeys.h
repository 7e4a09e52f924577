// CURVE key pairs and the files that hold them. A key is 32 bytes written as 40 characters of
// Z85, the text form ZeroMQ's key options take.
//
// Key files and allow-lists share one text form: a line whose first word is 40 characters of
// Z85 is a key (anything after it must be a comment); a blank line, or one starting with '#'
// or ';', is a comment. A secret key file holds one secret key and must be readable by its
// owner only; a public key file holds one public key. So a public key file can be appended to
// an allow-list as it is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kZ85KeyLength = 40;

struct sCurveKeyPair {
  std::string strPublic;  // Z85
  std::string strSecret;  // Z85
};

// A fresh key pair from zmq_curve_keypair; nullopt when ZeroMQ was built without CURVE.
std::optional<sCurveKeyPair> MakeCurveKeyPair();

// Whether strText is 40 characters of Z85 that decode to a 32-byte key.
bool IsZ85Key(std::string_view strText);

// A key as it appeared in a key text, with the line it stood on (from 1).
struct sKeyLine {
  int nLine = 0;
  std::string strKey;
};

// The keys of a key text, in order; nullopt when a line is neither a key nor a comment (the
// reason, naming the line, in strError).
std::optional<std::vector<sKeyLine>> ParseKeyText(std::string_view strText, std::string& strError);

// The whole of a small file; nullopt with the reason when it is missing, not a file, cannot be
// read or is larger than nMaxBytes. pnMode, when given, receives the file's permission bits.
std::optional<std::string> ReadSmallFile(const std::string& strPath, size_t nMaxBytes, std::string& strError,
                                         unsigned* pnMode = nullptr);

// The public key held by a public key file; nullopt with the reason, which names the file.
std::optional<std::string> ReadPublicKeyFile(const std::string& strPath, std::string& strError);
// The key pair of a secret key file (the public key follows from the secret one); nullopt with
// the reason, which names the file. A file that others may read is refused.
std::optional<sCurveKeyPair> ReadSecretKeyFile(const std::string& strPath, std::string& strError);

// Writes strBasePath + ".key" (the secret key, mode 0600, created so that no one else can open
// it even for a moment) and strBasePath + ".pub" (the public key, mode 0644). Neither may exist
// already: a key is never overwritten. False with the reason.
bool WriteKeyFiles(const std::string& strBasePath, const sCurveKeyPair& keys, std::string& strError);
