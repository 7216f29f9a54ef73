// The store's SQL schema (schema.sql beside this header), embedded at build time.
#pragma once

namespace orbeck::store {

const char* StoreSchemaSql();

}  // namespace orbeck::store
