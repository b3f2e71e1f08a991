# The file-backed registry store (machine and user hives).
target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RegistryHive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryStore.cpp)
