// The selected data's profile (the host's record of it) and the head of its consumption-tax
// settings, both read once per run through the host runtime.
#pragma once

#include <cstdint>

#include "runtime/Records.h"

class ClSetData;

// A copy of the host's record of the selected data.
using DataProfile = StDATAINFO;

// The result of the reads below when the host's data could not be read: unlike a record
// that does not exist, this must fail the run, not pass for an empty profile.
inline constexpr int kProfileReadFailed = -1;

// Fills profile with the record of the data selected for the current user; 1 found, 0 not
// (the profile then stays zero), kProfileReadFailed. dataSet caches the host's data set for
// the process (LinkApp keeps it).
int ReadDataProfile(DataProfile& profile, ClSetData*& dataSet);

// The first 12 bytes of the consumption-tax settings of dataId; 1 read, 0 none (untouched),
// kProfileReadFailed.
int ReadTaxSettings(uint8_t (&record)[12], const char* dataId);
