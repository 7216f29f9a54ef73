// The store's SQL (schema.sql and postings.sql beside this header), embedded at build time.
#pragma once

namespace orbeck::store {

// Creates every table of an empty store.
const char* StoreSchemaSql();
// Fills the ledger table from the journal tables.
const char* StorePostingsSql();

}  // namespace orbeck::store
