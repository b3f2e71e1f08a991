# Text conversions, signal/slot connections, the bounded byte buffer, file
# utilities and the registry key.
target_sources(Rodezir PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/gstringUtil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SignalConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SignalConnectionList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveCodec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mem_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileUtil.cpp)
