# The hostile-input tests of the 3DS and BMP loaders, built with the loaders themselves under
# AddressSanitizer: a read or write outside a block fails the run instead of passing silently.
# The rest of the engine layer links uninstrumented from its libraries, as the engine's own
# test program does; these objects take precedence.
if(NOT KORAVEX_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND TARGET kx_3ds_writer)
  add_executable(unit_hostile_asan
    ${CMAKE_SOURCE_DIR}/engine/model3ds.cpp
    ${CMAKE_SOURCE_DIR}/engine/store.cpp
    ${CMAKE_SOURCE_DIR}/engine/bmp.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/unit/engine/model3ds_hostile_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/unit/engine/bmp_hostile_test.cpp)
  target_compile_options(unit_hostile_asan PRIVATE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(unit_hostile_asan PRIVATE -fsanitize=address,undefined)
  target_link_libraries(unit_hostile_asan PRIVATE ${kx_unit_links_engine} kx_any_layer
    GTest::gtest GTest::gtest_main)
  # Select them with ctest -R "^asan\.".
  gtest_discover_tests(unit_hostile_asan DISCOVERY_TIMEOUT 60 TEST_PREFIX "asan."
    PROPERTIES LABELS unit)
endif()
