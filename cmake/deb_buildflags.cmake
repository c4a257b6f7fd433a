# Debian's compiler and linker flags, as dpkg-buildflags gives them to a
# package built with every hardening feature (bind-now included): stack
# protector, fortified functions, format checks, read-only relocations. They
# come before the build type's own flags, so its optimisation level still
# holds. Run in the source folder, so that its -ffile-prefix-map takes the
# checkout's path out of the debug information.
find_program(ZORVIK_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${ZORVIK_DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE deb_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(APPEND CMAKE_CXX_FLAGS " ${deb_CPPFLAGS} ${deb_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${deb_LDFLAGS}")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${deb_LDFLAGS}")
message(STATUS "Debian build flags: ${deb_CPPFLAGS} ${deb_CXXFLAGS} ${deb_LDFLAGS}")
