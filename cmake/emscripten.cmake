# Builds Zorvik for the browser with Debian's emscripten package: the core and
# the window compiled to WebAssembly. The test programs run under Node.js,
# which ctest uses as the emulator.
set(ZORVIK_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "emscripten's install folder")

# Node 18 and later have a fetch() that emscripten 3.1.6 mistakes for a
# browser's when it loads a test's .wasm beside its .js; without it, the
# loader reads the file.
find_program(ZORVIK_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZORVIK_NODE};--no-experimental-fetch)

include(${ZORVIK_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

# emcc's JavaScript optimiser needs Debian's Node.js modules (acorn) on
# every link, wherever the build is started from.
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)

# The core reports errors as C++ exceptions. Without an exception mode
# emscripten compiles every catch away, so all code, GoogleTest included, is
# built and linked with WebAssembly's native exceptions.
set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions -sALLOW_MEMORY_GROWTH=1")
