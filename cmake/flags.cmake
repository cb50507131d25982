# kx_flags: what every target of ours is compiled and linked with, and nothing else is:
# warnings, hardening and the sanitizers. Third-party headers are included as system headers.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

add_library(kx_flags INTERFACE)
target_compile_options(kx_flags INTERFACE -Wall -Wextra $<$<BOOL:${KORAVEX_WERROR}>:-Werror>)

if(KORAVEX_HARDEN)
  # Debian's build flags: position-independent programs, fortified string and memory calls,
  # protected stacks, control-flow protection, and a read-only relocation table resolved at
  # start. Each flag only where the compiler and target know it (-fcf-protection is x86's).
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "KX_HAS${flag}" known)
    check_cxx_compiler_flag(${flag} ${known})
    if(${known})
      target_compile_options(kx_flags INTERFACE ${flag})
    endif()
  endforeach()
  # Fortification needs the optimiser, and the sanitizers replace the calls it checks.
  if(NOT KORAVEX_SANITIZE AND NOT KORAVEX_FUZZ)
    target_compile_definitions(kx_flags INTERFACE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  endif()
  check_linker_flag(CXX "LINKER:-z,relro,-z,now" KX_HAS_BINDNOW)
  if(KX_HAS_BINDNOW)
    target_link_options(kx_flags INTERFACE "LINKER:-z,relro,-z,now")
  endif()
endif()

if(KORAVEX_FUZZ)
  # Instrument everything so that the fuzzers are guided by the loaders' own branches.
  target_compile_options(kx_flags INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                            -fno-omit-frame-pointer)
  target_link_options(kx_flags INTERFACE -fsanitize=address,undefined)
elseif(KORAVEX_SANITIZE)
  # Any finding ends the program: undefined behaviour fails a test instead of scrolling past.
  target_compile_options(kx_flags INTERFACE -fsanitize=address,undefined
                                            -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(kx_flags INTERFACE -fsanitize=address,undefined)
endif()
