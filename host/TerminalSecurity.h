// How the terminal protects its link to the risk server, from what it was told. No window.
//
//   no server named                 the embedded server on loopback: plain
//   both key files named            CURVE with this terminal's key, pinning the server's key
//   one of the two named            a key problem
//   neither, the server on loopback plain
//   neither, the server elsewhere   a key problem: a link that leaves the machine is encrypted
//
// A key problem (a file missing, unreadable, malformed or readable by others) means no
// connection at all, never a plain one.
#pragma once

#include "host/HostOptions.h"
#include "keys/LinkSecurity.h"

sLinkSecurity ChooseLinkSecurity(const sHostOptions& options);
