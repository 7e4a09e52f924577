// What rms-relay is told: the server it forwards to and where terminals reach it.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "host/transport/TransportWire.h"

struct sRelayOptions {
  halvowire::sServerEndpoints upstream;  // the risk server, or the next relay towards it
  halvowire::sServerEndpoints listen;    // where terminals, or relays further out, connect
  // The relay's secret key file: its key as a CURVE server toward terminals (with
  // strAllowListPath) and as a CURVE client toward the server (with strServerKeyFile).
  std::string strKeyFile;
  std::string strAllowListPath;  // the terminals' (or outer relays') keys let in
  std::string strServerKeyFile;  // the public key of the server or next relay, pinned
};

// Parses rms-relay's arguments (the program name left out); "--name value" and "--name=value".
// On an error or --help fills strMessage (the error and the help, or the help alone with
// bHelpAsked set) and returns nullopt.
std::optional<sRelayOptions> ParseRelayOptions(std::span<const std::string> arrArguments,
                                               std::string& strMessage, bool& bHelpAsked);

std::string GetRelayHelpText();
