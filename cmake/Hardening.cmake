# The hardening that distributions build their programs with: a stack
# protector, stack-clash protection, control-flow protection where the
# processor has it, fortified C library calls in optimised builds, position
# independence, and relocations made read-only at start-up. Each flag only
# where the compiler or linker takes it (Apple's linker has no -z, MinGW's
# programs get their own defaults). The flags go before the user's own
# CMAKE_CXX_FLAGS and CMAKE_EXE_LINKER_FLAGS (CXXFLAGS, LDFLAGS), so that a
# -fno-stack-protector or -Wl,-z,lazy there still wins.
option(WORDGRID_HARDENING "Build the programs with the usual hardening flags, where the tools take them" ON)
if(NOT WORDGRID_HARDENING OR WIN32)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckLinkerFlag)
include(CheckPIESupported)

check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(flags -fstack-protector-strong -fstack-clash-protection)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  list(APPEND flags -fcf-protection)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64|ARM64)$")
  list(APPEND flags -mbranch-protection=standard)
endif()
# As errors: clang only warns of a flag that its target ignores.
set(CMAKE_REQUIRED_FLAGS -Werror)
set(hardening_compile_flags "")
foreach(flag IN LISTS flags)
  string(MAKE_C_IDENTIFIER "WORDGRID_TAKES${flag}" result)
  check_cxx_compiler_flag(${flag} ${result})
  if(${result})
    string(APPEND hardening_compile_flags "${flag} ")
  endif()
endforeach()
unset(CMAKE_REQUIRED_FLAGS)
set(CMAKE_CXX_FLAGS "${hardening_compile_flags}${CMAKE_CXX_FLAGS}")

check_linker_flag(CXX "-Wl,-z,relro,-z,now" WORDGRID_LINKS_RELRO_NOW)
if(WORDGRID_LINKS_RELRO_NOW)
  set(CMAKE_EXE_LINKER_FLAGS "-Wl,-z,relro,-z,now ${CMAKE_EXE_LINKER_FLAGS}")
endif()

# A second definition of _FORTIFY_SOURCE would be a warning, so none where the
# user's flags or the compiler itself (as on Ubuntu) already set a level. It
# needs optimisation, and the sanitizers' own checks replace it.
set(user_flags "${CMAKE_CXX_FLAGS}")
foreach(config IN ITEMS RELEASE RELWITHDEBINFO MINSIZEREL)
  string(APPEND user_flags " ${CMAKE_CXX_FLAGS_${config}}")
endforeach()
if(NOT WORDGRID_SANITIZE AND NOT user_flags MATCHES "_FORTIFY_SOURCE")
  set(CMAKE_REQUIRED_FLAGS -O2)
  check_cxx_source_compiles("#ifdef _FORTIFY_SOURCE
#error already set
#endif
int main() { return 0; }" WORDGRID_FORTIFY_UNSET)
  unset(CMAKE_REQUIRED_FLAGS)
  if(WORDGRID_FORTIFY_UNSET)
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
  endif()
endif()
