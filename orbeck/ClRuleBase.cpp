// What every rule object is attached to: the set manager, the data and the option link.
#include "runtime/Rules.h"

ClRuleBase::~ClRuleBase() = default;

long ClRuleBase::AttachSetMgr(ClSetMgr* setMgr) {
  setMgr_ = setMgr;
  return 0;
}

long ClRuleBase::SetCurDataID(const std::string& dataId) {
  dataId_ = dataId;
  return 0;
}

long ClRuleBase::AttachOptLink(ClOptLink* optLink) {
  optLink_ = optLink;
  return 0;
}
