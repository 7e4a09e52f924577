// The services the terminal exports to its plug-ins (declared in host/api/HalvoHostApi.h),
// and what they answer with.
#pragma once

#include <string>
#include <vector>

class CRmsTransport;

// The per-user directory: the user's XDG data directory, then "halvo-trader/<user id>".
// Created when missing.
std::string PrepareUserDirectory(const std::string& strUserId);

// What the services answer with for the logged-in user. Receive controls come from pTransport,
// which must outlive the plug-in's use of them; without one no control is given.
void ConfigureHostServices(const std::string& strUserDirectory, const std::vector<std::string>& arrDealers,
                           CRmsTransport* pTransport);
