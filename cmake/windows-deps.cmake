# Third-party libraries for the Windows targets, all from Debian's packages:
# zlib prebuilt for mingw (libz-mingw-w64-dev); minizip's unzip half and libpng
# compiled here from the sources of Debian's source packages (fetched into
# .deps/ by tools/install-deps); GoogleTest from the googletest package.
set(QUORVANE_DEPS_DIR ${PROJECT_SOURCE_DIR}/.deps)

find_path(ZLIB_HEADER zlib.h)
find_library(ZLIB_STATIC NAMES libz.a)
if(NOT ZLIB_HEADER OR NOT ZLIB_STATIC)
  message(FATAL_ERROR "zlib for mingw is missing: install Debian's libz-mingw-w64-dev (tools/install-deps)")
endif()
add_library(zlib STATIC IMPORTED GLOBAL)
set_target_properties(zlib PROPERTIES IMPORTED_LOCATION ${ZLIB_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${ZLIB_HEADER})

function(quorvane_require_source dir package)
  if(NOT EXISTS ${dir})
    message(FATAL_ERROR "${dir} is missing: it holds the sources of Debian's source package '${package}' (tools/install-deps fetches them with apt-get source)")
  endif()
endfunction()

# minizip, unzip half only, with its Win32 file functions.
set(MINIZIP_DIR ${QUORVANE_DEPS_DIR}/zlib/contrib/minizip)
quorvane_require_source(${MINIZIP_DIR}/unzip.c zlib)
add_library(minizip_unzip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c ${MINIZIP_DIR}/iowin32.c)
target_include_directories(minizip_unzip SYSTEM PUBLIC ${MINIZIP_DIR})
# No encryption support: an encrypted entry is refused, never decoded with a guessed key.
target_compile_definitions(minizip_unzip PUBLIC NOUNCRYPT PRIVATE _CRT_SECURE_NO_WARNINGS)
target_compile_options(minizip_unzip PRIVATE -w)
quorvane_fast_code(minizip_unzip)
target_link_libraries(minizip_unzip PUBLIC zlib)

# libpng, configured for reading only (cmake/libpng-read.dfa): its own
# configuration scripts make pnglibconf.h from that options file, so neither
# the writing code nor the features the setup never asks for are compiled.
set(LIBPNG_DIR ${QUORVANE_DEPS_DIR}/libpng)
quorvane_require_source(${LIBPNG_DIR}/png.c libpng1.6)
set(LIBPNG_CONF_DIR ${CMAKE_BINARY_DIR}/libpng-conf)
set(LIBPNG_OPTIONS ${CMAKE_CURRENT_LIST_DIR}/libpng-read.dfa)
find_program(QUORVANE_AWK NAMES mawk gawk awk REQUIRED)
function(quorvane_make_pnglibconf)
  set(conf ${LIBPNG_CONF_DIR})
  set(scripts ${LIBPNG_DIR}/scripts)
  file(MAKE_DIRECTORY ${conf})
  # The same steps as libpng's scripts/pnglibconf.mak: options into a .dfn,
  # through the C preprocessor, then into the header.
  execute_process(
    COMMAND ${QUORVANE_AWK} -f ${scripts}/options.awk out=${conf}/pnglibconf.pre version=search
      ${LIBPNG_DIR}/pngconf.h ${scripts}/pnglibconf.dfa ${LIBPNG_DIR}/pngusr.dfa ${LIBPNG_OPTIONS}
    COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET ERROR_VARIABLE awk_messages)
  execute_process(COMMAND ${QUORVANE_AWK} -f ${scripts}/options.awk out=${conf}/pnglibconf.dfn ${conf}/pnglibconf.pre
    COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET ERROR_VARIABLE awk_messages)
  file(WRITE ${conf}/pnglibconf.c "#include \"pnglibconf.dfn\"\n")
  execute_process(COMMAND ${CMAKE_C_COMPILER} -E -I${LIBPNG_DIR} -I${conf} ${conf}/pnglibconf.c
    OUTPUT_FILE ${conf}/pnglibconf.out COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${QUORVANE_AWK} -f ${scripts}/dfn.awk out=${conf}/pnglibconf.tmp ${conf}/pnglibconf.out
    COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET ERROR_VARIABLE awk_messages)
  # Rewritten only when it changes: libpng and the picture code are not
  # rebuilt on every configuration.
  file(COPY_FILE ${conf}/pnglibconf.tmp ${conf}/pnglibconf.h ONLY_IF_DIFFERENT)
endfunction()
quorvane_make_pnglibconf()
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LIBPNG_OPTIONS}
  ${LIBPNG_DIR}/scripts/pnglibconf.dfa ${LIBPNG_DIR}/scripts/options.awk ${LIBPNG_DIR}/scripts/dfn.awk)
add_library(png STATIC
  ${LIBPNG_DIR}/png.c ${LIBPNG_DIR}/pngerror.c ${LIBPNG_DIR}/pngget.c ${LIBPNG_DIR}/pngmem.c
  ${LIBPNG_DIR}/pngread.c ${LIBPNG_DIR}/pngrio.c ${LIBPNG_DIR}/pngrtran.c ${LIBPNG_DIR}/pngrutil.c
  ${LIBPNG_DIR}/pngset.c ${LIBPNG_DIR}/pngtrans.c)
target_include_directories(png SYSTEM PUBLIC ${LIBPNG_DIR} ${LIBPNG_CONF_DIR})
target_compile_definitions(png PRIVATE PNG_ARM_NEON_OPT=0 PNG_POWERPC_VSX_OPT=0)
target_compile_options(png PRIVATE -w)
target_link_libraries(png PUBLIC zlib)
