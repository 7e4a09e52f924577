#include "host/TerminalSecurity.h"

#include "host/transport/TransportWire.h"

namespace {

constexpr const char* kWhereKeysAreNamed =
    "\"key file\" and \"server key file\" under [security] in halvo-trader.conf, or --key-file and "
    "--server-key-file; see docs/security.md";

}  // namespace

sLinkSecurity ChooseLinkSecurity(const sHostOptions& options) {
  sLinkSecurity security;
  if (options.strServerAddress.isEmpty()) return security;
  const std::string strKeyFile = options.strKeyFile.toStdString();
  const std::string strServerKeyFile = options.strServerKeyFile.toStdString();
  if (!strKeyFile.empty() && !strServerKeyFile.empty()) {
    std::string strError;
    security.curve = ReadCurveClientKeys(strKeyFile, strServerKeyFile, strError);
    if (!security.curve) security.strProblem = "The terminal's keys cannot be used: " + strError + ".";
    return security;
  }
  if (!strKeyFile.empty() || !strServerKeyFile.empty()) {
    security.strProblem = std::string(
                              "An encrypted link needs both this terminal's key file and the server's "
                              "public key file; only the ") +
                          (strKeyFile.empty() ? "server's" : "terminal's") + " is named (" +
                          kWhereKeysAreNamed + ").";
    return security;
  }
  const std::optional<halvowire::sServerEndpoints> endpoints =
      halvowire::ParseServerAddress(options.strServerAddress.toStdString());
  if (!endpoints || !IsLoopbackEndpoint(endpoints->strRequests) ||
      !IsLoopbackEndpoint(endpoints->strPublications))
    security.strProblem =
        "The risk server " + options.strServerAddress.toStdString() +
        " is reached over the network, and such a link is always encrypted: name this terminal's "
        "key file and the server's public key file (" +
        kWhereKeysAreNamed + ").";
  return security;
}
