# The fuzz build: clang with libFuzzer. Every library is instrumented for the
# fuzzer's coverage and runs under AddressSanitizer (with its leak check) and
# UndefinedBehaviorSanitizer, which stops at the first report; the harnesses
# of fuzz/ link the fuzzer's own main.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VEKTRANO_FUZZ needs clang (cmake -DCMAKE_CXX_COMPILER=clang++)")
endif()
include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer,address,undefined")
set(CMAKE_REQUIRED_LINK_OPTIONS "-fsanitize=fuzzer,address,undefined")
check_cxx_source_compiles([[
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
]] VEKTRANO_HAVE_LIBFUZZER)
unset(CMAKE_REQUIRED_FLAGS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(NOT VEKTRANO_HAVE_LIBFUZZER)
  message(FATAL_ERROR "clang without libFuzzer: install libclang-rt-14-dev (scripts/install-deps)")
endif()
add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
