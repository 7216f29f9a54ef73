// Compiled into every test executable: makes the source and build trees known to the tests
// and to the programs they start, unless the environment already names them.
#include <cstdlib>

namespace {

const bool kTreesKnown = [] {
  setenv("VELMORA_SOURCE_DIR", VELMORA_TEST_SOURCE_DIR, 0);
  setenv("VELMORA_BINARY_DIR", VELMORA_TEST_BINARY_DIR, 0);
  return true;
}();

}  // namespace
