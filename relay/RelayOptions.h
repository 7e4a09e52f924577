// What rms-relay is told: the server it forwards to and where terminals reach it.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "host/transport/TransportWire.h"

struct sRelayOptions {
  halvowire::sServerEndpoints upstream;  // the risk server, or the next relay towards it
  halvowire::sServerEndpoints listen;    // where terminals, or relays further out, connect
};

// Parses rms-relay's arguments (the program name left out); "--name value" and "--name=value".
// On an error or --help fills strMessage (the error and the help, or the help alone with
// bHelpAsked set) and returns nullopt.
std::optional<sRelayOptions> ParseRelayOptions(std::span<const std::string> arrArguments,
                                               std::string& strMessage, bool& bHelpAsked);

std::string GetRelayHelpText();
