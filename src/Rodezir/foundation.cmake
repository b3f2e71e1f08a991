# Text conversions, signal/slot connections, file utilities and the registry key.
target_sources(Rodezir PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/gstringUtil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SignalConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveCodec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileUtil.cpp)
