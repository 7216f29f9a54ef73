// The checks of the output destination: characters, drive, file name, folder (created on
// request) and an existing file (overwritten on request).
#pragma once

#include <functional>
#include <string_view>

#include "platform/ui/Dialog.h"

// The character rule: no doubled separator (beyond a network path's leading pair) and none
// of / : , ; * ? " > < | after the drive's colon (or the network path's leading pair).
bool HasValidPathCharacters(std::string_view path);

// The drive rule: a network path needs a read-write share; otherwise the drive letter's
// root decides by its drive type (CD-ROM and RAM disks never, unknown types never).
bool IsUsableDrive(std::string_view path);

// Runs the checks in order for the path edit pathEditId of dialog. On a failure the message
// has been shown (owned by dialog) and the path edit focused with its text selected; an
// empty path runs browse instead. With outputPathFixed an existing file is accepted unasked.
bool ValidateOutputDestination(platform::CDialog& dialog, int pathEditId, std::string_view path,
                               bool outputPathFixed, const std::function<void()>& browse);
