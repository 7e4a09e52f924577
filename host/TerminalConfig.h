// The terminal's configuration file: what a desk sets once (server address, key files, user id,
// category, dealers) so that its users start the terminal from the menu with no options.
//
//   [server]
//   address = tcp://rms.desk:7001
//   [security]
//   key file = keys/terminal.key        ; relative to the file's folder
//   server key file = keys/server.pub
//   [login]
//   user = RISK07
//   category = 2
//   dealers = DLR1, DLR2
//
// Options on the command line override it. Reading never fails: a file that cannot be read,
// or is not a settings file, gives back the options unchanged (the defaults) and says why; a
// bad value keeps its default and says so; the other values are still taken.
#pragma once

#include <QString>
#include <QStringList>

#include "host/HostOptions.h"

// $XDG_CONFIG_HOME/halvo-trader/halvo-trader.conf (~/.config/... when it is not set).
QString GetTerminalConfigPath();

// Reads the file at strPath over options. A missing file changes nothing and is no problem.
// Returns one line for each problem found, each naming the file.
QStringList ReadTerminalConfig(const QString& strPath, sHostOptions& options);
