// The host runtime interface that the program is linked against, in one include.
#pragma once

#include "app/OrbeckRuntime/AccPeriod.h"
#include "app/OrbeckRuntime/Connect.h"
#include "app/OrbeckRuntime/Managers.h"
#include "app/OrbeckRuntime/Records.h"
#include "app/OrbeckRuntime/Rules.h"
#include "app/OrbeckRuntime/Sets.h"
