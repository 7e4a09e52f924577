#include "relay/RelayOptions.h"

#include <string_view>

namespace {

constexpr const char* kDefaultListen = "tcp://*:5555";

struct sOptionRow {
  std::string_view strName;
  std::string* pValue;
};

}  // namespace

std::string GetRelayHelpText() {
  return std::string(
             "Usage: rms-relay --server ADDRESS [--listen ADDRESS] [--key-file FILE --allow-list FILE]\n"
             "                 [--key-file FILE --server-key-file FILE]\n"
             "Lets one risk server serve many terminals: they connect to the relay as to the server.\n"
             "Relays can be chained: the server of a relay can be another relay.\n\nOptions:\n"
             "  --server ADDRESS          the risk server, or the next relay towards it: tcp://HOST:PORT\n"
             "                            (publications on PORT+1) or REQUESTS,PUBLICATIONS\n"
             "  --listen ADDRESS          where terminals connect, in the same form; port * picks a free\n"
             "                            one (default ") +
         kDefaultListen +
         ")\n"
         "  --key-file FILE           this relay's secret key (made by rms-keys)\n"
         "  --allow-list FILE         the public keys of the terminals let in, one a line: the links\n"
         "                            to them are encrypted (CURVE); read again when it changes\n"
         "  --server-key-file FILE    the public key of the server: the link to it is encrypted and\n"
         "                            this relay talks to no other\n"
         "A link that leaves the machine must be encrypted; see docs/security.md.\n"
         "  --help                    show this text\n";
}

std::optional<sRelayOptions> ParseRelayOptions(std::span<const std::string> arrArguments,
                                               std::string& strMessage, bool& bHelpAsked) {
  bHelpAsked = false;
  const auto Fail = [&strMessage](const std::string& strError) {
    strMessage = "rms-relay: " + strError + "\n\n" + GetRelayHelpText();
    return std::nullopt;
  };
  std::string strServer;
  std::string strListen = kDefaultListen;
  sRelayOptions options;
  const sOptionRow arrRows[] = {{"--server", &strServer},
                                {"--listen", &strListen},
                                {"--key-file", &options.strKeyFile},
                                {"--allow-list", &options.strAllowListPath},
                                {"--server-key-file", &options.strServerKeyFile}};
  for (size_t n = 0; n < arrArguments.size(); ++n) {
    const std::string_view strArgument = arrArguments[n];
    if (strArgument == "--help" || strArgument == "-h") {
      bHelpAsked = true;
      strMessage = GetRelayHelpText();
      return std::nullopt;
    }
    const size_t nEquals = strArgument.find('=');
    const std::string_view strName = strArgument.substr(0, nEquals);
    const sOptionRow* pRow = nullptr;
    for (const sOptionRow& row : arrRows)
      if (row.strName == strName) pRow = &row;
    if (pRow == nullptr) return Fail("unexpected argument " + std::string(strArgument));
    if (nEquals != std::string_view::npos)
      *pRow->pValue = strArgument.substr(nEquals + 1);
    else if (n + 1 < arrArguments.size())
      *pRow->pValue = arrArguments[++n];
    else
      return Fail(std::string(strName) + " needs a value");
  }
  if (strServer.empty()) return Fail("--server is required");
  const std::optional<halvowire::sServerEndpoints> upstream = halvowire::ParseServerAddress(strServer);
  if (!upstream) return Fail("bad server address " + strServer);
  const std::optional<halvowire::sServerEndpoints> listen = halvowire::ParseListenAddress(strListen);
  if (!listen) return Fail("bad listen address " + strListen);
  const bool bKeyUsed = !options.strAllowListPath.empty() || !options.strServerKeyFile.empty();
  if (options.strKeyFile.empty() && bKeyUsed)
    return Fail("--allow-list and --server-key-file need --key-file");
  if (!options.strKeyFile.empty() && !bKeyUsed)
    return Fail("--key-file needs --allow-list or --server-key-file");
  options.upstream = *upstream;
  options.listen = *listen;
  return options;
}
