// Where one source account goes: the first map rule that matches its path, else the
// standard chart's names where they agree with the source's own type.
#pragma once

#include <string>

#include "tools/orbeck-import/AccountMap.h"

namespace orbeck::import {

struct Placement {
  const Section* section = nullptr;  // null: not placed
  std::string hostPath;              // the source path that stands for the host account
  std::string hostName;              // the host account's name (UTF-8)
  int number = 0;                    // the map's number, 0 when given in order
  std::string subName;               // the sub-account's name, empty for the account itself
  std::string rule;                  // what placed it: "map /accounts/N" or "the name 現金"
};

// 1 with the placement (section null when nothing places it); 0 with a message when a map
// rule places the account against its own type.
int Place(const AccountMap& map, const SourceAccount& account, Placement& out, std::string& error);

// The section the standard chart gives the name (the manufacturing table when `inFactory`),
// null when it knows no such name.
const Section* DefaultSection(const std::string& name, bool inFactory, SourceType type);

}  // namespace orbeck::import
