// The host runtime interface that the program is linked against, in one include.
#pragma once

#include "runtime/AccPeriod.h"
#include "runtime/Connect.h"
#include "runtime/HostCodes.h"
#include "runtime/Managers.h"
#include "runtime/Records.h"
#include "runtime/Rules.h"
#include "runtime/Sets.h"
