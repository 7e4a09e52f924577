// Filling an entity record from one risk message: every slot gets its value, or the text for an
// absent field. A number slot keeps the field's bytes and is formatted when it is read.
#pragma once

#include <string_view>

#include "connect/include/connecthalvo.h"
#include "model/RmsDetails.h"

// Fills the record's value slots and group-wise flag from the message and returns 1. The level
// code must be set before (column 74 depends on it). Keeps the level code, entity id, level
// text and the four call texts, which the receiver sets.
int ParseRmsValues(OTP_MSG hMsg, CRmsDetails& record);

// The text of a number slot made from the bytes it keeps, by the slot's rule, in one of
// CSlotTexts::kUnpackBuffers buffers of the calling thread.
std::string_view FormatNumberSlot(int nSlot, std::string_view strBytes);
// How FormatNumberSlot makes the slot's text, for telling its shape from the bytes' classes.
sNumberRule GetNumberSlotRule(int nSlot);
