#include "relay/RelayOptions.h"

#include <string_view>

namespace {

constexpr std::string_view kServerOption = "--server";
constexpr std::string_view kListenOption = "--listen";
constexpr const char* kDefaultListen = "tcp://*:5555";

}  // namespace

std::string GetRelayHelpText() {
  return std::string(
             "Usage: rms-relay --server ADDRESS [--listen ADDRESS]\n"
             "Lets one risk server serve many terminals: they connect to the relay as to the server.\n"
             "Relays can be chained: the server of a relay can be another relay.\n\nOptions:\n"
             "  --server ADDRESS    the risk server, or the next relay towards it: tcp://HOST:PORT\n"
             "                      (publications on PORT+1) or REQUESTS,PUBLICATIONS\n"
             "  --listen ADDRESS    where terminals connect, in the same form; port * picks a free\n"
             "                      one (default ") +
         kDefaultListen +
         ")\n"
         "  --help              show this text\n";
}

std::optional<sRelayOptions> ParseRelayOptions(std::span<const std::string> arrArguments,
                                               std::string& strMessage, bool& bHelpAsked) {
  bHelpAsked = false;
  const auto Fail = [&strMessage](const std::string& strError) {
    strMessage = "rms-relay: " + strError + "\n\n" + GetRelayHelpText();
    return std::nullopt;
  };
  std::optional<std::string> strServer;
  std::string strListen = kDefaultListen;
  for (size_t n = 0; n < arrArguments.size(); ++n) {
    const std::string_view strArgument = arrArguments[n];
    if (strArgument == "--help" || strArgument == "-h") {
      bHelpAsked = true;
      strMessage = GetRelayHelpText();
      return std::nullopt;
    }
    const size_t nEquals = strArgument.find('=');
    const std::string_view strName = strArgument.substr(0, nEquals);
    if (strName != kServerOption && strName != kListenOption)
      return Fail("unexpected argument " + std::string(strArgument));
    std::string strValue;
    if (nEquals != std::string_view::npos)
      strValue = strArgument.substr(nEquals + 1);
    else if (n + 1 < arrArguments.size())
      strValue = arrArguments[++n];
    else
      return Fail(std::string(strName) + " needs a value");
    if (strName == kServerOption)
      strServer = std::move(strValue);
    else
      strListen = std::move(strValue);
  }
  if (!strServer) return Fail("--server is required");
  const std::optional<halvowire::sServerEndpoints> upstream = halvowire::ParseServerAddress(*strServer);
  if (!upstream) return Fail("bad server address " + *strServer);
  const std::optional<halvowire::sServerEndpoints> listen = halvowire::ParseListenAddress(strListen);
  if (!listen) return Fail("bad listen address " + strListen);
  return sRelayOptions{*upstream, *listen};
}
