kova_test(RegistryStoreTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegistryStoreTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RegistryToolTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReplacingFileTest.cpp
  LIBS platform)
if(TARGET RegistryStoreTests)
  add_dependencies(RegistryStoreTests kova-registry)
  target_compile_definitions(RegistryStoreTests PRIVATE KOVA_REGISTRY_TOOL="$<TARGET_FILE:kova-registry>")
endif()

kova_fuzzer(RegistryHiveFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegistryHiveFuzzer.cpp
  LIBS platform)
