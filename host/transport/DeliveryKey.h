// What the hand-over reads of a received message to keep the order of each entity's messages
// and to let a newer value of an entity replace one still waiting.
#pragma once

#include <string>

#include "connect/include/connecthalvo.h"

struct sDeliveryKey {
  // The entity id: the entity text (up to a NUL) after its first '-'. Every message the plug-in
  // files under one record has the same id; empty for a message about no entity (most
  // responses, message alerts).
  std::string strEntity;
  // For a value publication that is no delete mark: every byte that decides which record it
  // updates and whether the user may see it. Another value publication with the same bytes
  // supersedes it. Empty for any other message.
  std::string strReplaceable;
};

sDeliveryKey GetDeliveryKey(OTP_MSG hMsg, bool bPublication);
