// The saved financial-statement documents of a data, delivered as buffers that the caller
// owns and releases with CoTaskMemFree (the runtime allocates them with malloc).
#include <cstdlib>
#include <cstring>
#include <string>

#include "orbeck/HostStore.h"
#include "orbeck/RuntimeStatus.h"
#include "orbeck/StoreStatement.h"
#include "runtime/Managers.h"
#include "runtime/Rules.h"

ClSaveKessansho::ClSaveKessansho() = default;
ClSaveKessansho::~ClSaveKessansho() = default;

long ClSaveKessansho::GetDataType02(long kind, void** buffer, long* length) {
  if (buffer == nullptr || length == nullptr) return orbeck::kNotReady;
  *buffer = nullptr;
  *length = 0;
  if (orbeck::InjectedReadFailure("ClSaveKessansho::GetDataType02", std::to_string(kind)))
    return orbeck::kStoreError;
  auto& store = orbeck::HostStore::Session();
  orbeck::StatementUse query =
      store.Prepare("SELECT content FROM saved_documents WHERE data_id = ?1 AND kind = ?2");
  if (query == nullptr) return store.IsOpen() ? orbeck::kStoreError : orbeck::kNotAttached;
  query->Bind(1, dataId_);
  query->Bind(2, static_cast<int64_t>(kind));
  if (!query->Step()) return query->Failed() ? orbeck::kStoreError : orbeck::kNotFound;
  std::string_view content = query->Blob(0);
  auto* copy = static_cast<char*>(std::malloc(content.size() + 1));
  if (copy == nullptr) return orbeck::kStoreError;
  // An empty document has no data pointer at all, and memcpy must not be handed a null one.
  if (!content.empty()) std::memcpy(copy, content.data(), content.size());
  copy[content.size()] = '\0';
  *buffer = copy;
  *length = static_cast<long>(content.size());
  return 0;
}

void CoTaskMemFree(void* buffer) { std::free(buffer); }
