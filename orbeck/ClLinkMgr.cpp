// The option link: one per process, handed to every rule object.
#include "runtime/Managers.h"

ClLinkMgr& ClLinkMgr::Inst() {
  static ClLinkMgr manager;
  return manager;
}

ClOptLink* ClLinkMgr::GetOptLink() {
  static ClOptLink link;
  return &link;
}
