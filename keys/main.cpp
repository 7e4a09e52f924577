// rms-keys: makes a CURVE key pair for a risk server, a relay or a terminal: NAME.key holds the
// secret key, readable by its owner only, and NAME.pub the public key, which the owner hands
// to the other side (an allow-list line, or the key a terminal pins for its server).
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "keys/CurveKeys.h"

namespace {

constexpr const char* kHelp =
    "Usage: rms-keys NAME\n"
    "Makes a CURVE key pair: NAME.key, the secret key (mode 0600, for its owner only), and\n"
    "NAME.pub, the public key. A server or relay adds a client's NAME.pub to its allow-list; a\n"
    "terminal or relay names its server's NAME.pub as the key it pins. Existing files are never\n"
    "overwritten. See docs/security.md.\n";

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (argc != 2 || std::string_view(argv[1]).empty() || std::string_view(argv[1]).starts_with("-")) {
    std::fprintf(stderr, "rms-keys: give the name of the key pair, one\n\n%s", kHelp);
    return 2;
  }
  const std::optional<sCurveKeyPair> keys = MakeCurveKeyPair();
  if (!keys) {
    std::fputs("rms-keys: this ZeroMQ library was built without CURVE; no key can be made\n", stderr);
    return 1;
  }
  const std::string strBase = argv[1];
  std::string strError;
  if (!WriteKeyFiles(strBase, *keys, strError)) {
    std::fprintf(stderr, "rms-keys: %s\n", strError.c_str());
    return 1;
  }
  std::printf("rms-keys: secret key in %s.key (readable by its owner only), public key in %s.pub:\n%s\n",
              strBase.c_str(), strBase.c_str(), keys->strPublic.c_str());
  return 0;
}
