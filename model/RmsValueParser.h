// Filling an entity record from one risk message: every slot gets its formatted value, or the
// text for an absent field.
#pragma once

#include "connect/include/connecthalvo.h"
#include "model/RmsDetails.h"

// Fills the record's value slots and group-wise flag from the message and returns 1. The level
// code must be set before (column 74 depends on it). Keeps the level code, entity id, level
// text and the four call texts, which the receiver sets.
int ParseRmsValues(OTP_MSG hMsg, CRmsDetails& record);
