# The windows preset's dependencies and test runner: nlohmann_json, RapidJSON and xxHash's header from
# the build machine,
# SQLite from the amalgamation that
# scripts/build-sqlite-mingw.sh generated from Debian's source package and cached,
# GoogleTest compiled from Debian's sources for the target, and a Wine prefix of the build
# folder's own, created once here so that parallel test runs never race to create it.
if(NOT SQLite3_LIBRARY)
  set(sqlite_cache "$ENV{VELMORA_CACHE}")
  if(NOT sqlite_cache)
    set(sqlite_cache "$ENV{HOME}/.cache/velmora")
  endif()
  file(GLOB sqlite_builds LIST_DIRECTORIES true "${sqlite_cache}/sqlite3-mingw-*")
  list(FILTER sqlite_builds EXCLUDE REGEX "\\.tmp$")
  list(SORT sqlite_builds)
  list(POP_BACK sqlite_builds sqlite_build)
  if(NOT sqlite_build)
    message(FATAL_ERROR "No SQLite for Windows under ${sqlite_cache}: run scripts/install-deps.sh")
  endif()
  set(SQLite3_INCLUDE_DIR "${sqlite_build}/include" CACHE PATH "SQLite headers for the target")
  set(SQLite3_LIBRARY "${sqlite_build}/lib/libsqlite3.a" CACHE FILEPATH "SQLite library for the target")
endif()

# nlohmann_json and RapidJSON are header-only, and so is xxHash when inlined, but their packages name
# /usr/include, which must not precede the target's C library headers: a folder of the build
# holds just their headers.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/build-machine-headers)
file(CREATE_LINK /usr/include/xxhash.h ${CMAKE_BINARY_DIR}/build-machine-headers/xxhash.h SYMBOLIC)
set(XXHASH_INCLUDE_DIR ${CMAKE_BINARY_DIR}/build-machine-headers CACHE PATH "xxHash header, inlined")
file(CREATE_LINK /usr/include/rapidjson ${CMAKE_BINARY_DIR}/build-machine-headers/rapidjson SYMBOLIC)
set(RAPIDJSON_INCLUDE_DIR ${CMAKE_BINARY_DIR}/build-machine-headers CACHE PATH "RapidJSON headers")
file(CREATE_LINK /usr/include/nlohmann ${CMAKE_BINARY_DIR}/build-machine-headers/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/build-machine-headers)
set(nlohmann_json_FOUND TRUE)

if(VELMORA_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

if(CMAKE_CROSSCOMPILING AND NOT EXISTS ${CMAKE_BINARY_DIR}/wine-prefix/system.reg)
  message(STATUS "Creating the Wine prefix ${CMAKE_BINARY_DIR}/wine-prefix")
  execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init
                  OUTPUT_QUIET ERROR_QUIET TIMEOUT 300)
  execute_process(COMMAND env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix /usr/lib/wine/wineserver -k
                  OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
  execute_process(COMMAND env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix /usr/lib/wine/wineserver --wait
                  OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
endif()
# The Win32 backend's tests make real windows with no display: Wine's null display driver
# keeps them in memory (creation, messages, focus, layout), as a desktop would without
# drawing them. The screenshots use a prefix of their own with the X11 driver.
if(CMAKE_CROSSCOMPILING AND EXISTS ${CMAKE_BINARY_DIR}/wine-prefix/user.reg)
  file(STRINGS ${CMAKE_BINARY_DIR}/wine-prefix/user.reg null_driver REGEX "\"Graphics\"=\"null\"")
  if(NOT null_driver)
    message(STATUS "Wine prefix: the null display driver")
    execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} reg add "HKCU\\Software\\Wine\\Drivers"
                            /v Graphics /d null /f
                    OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
    # The server writes the registry out when it leaves.
    execute_process(COMMAND env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix /usr/lib/wine/wineserver -k
                    OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
  endif()
endif()
