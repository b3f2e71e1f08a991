# The manikin link with its transports (COM port, wireless TCP, recorded
# demonstration data) and the recorded data it replays.
target_sources(comm PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CommUtil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LinkEnvironment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LinkSteps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CollectedData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CollectedDataSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialPort.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComTransport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WirelessTransport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordedDataTransport.cpp)
# clang 14 cannot lay out the edge counters of a coroutine's split parts
# ("Cannot represent a difference across sections"): in the fuzz build the
# link's step sequences go without them; the fuzzers still see the rest.
if(KOVA_FUZZ)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/LinkSteps.cpp PROPERTIES
    COMPILE_OPTIONS "-fno-sanitize-coverage=inline-8bit-counters,pc-table")
endif()

# The recorded data are generated at build time (tools/recorded-data) and
# compiled in as ":/kova/bin/<id>".
set(KOVA_RECORDED_DATA_DIR ${CMAKE_CURRENT_BINARY_DIR}/recorded-data)
set(KOVA_RECORDED_DATA_FILES)
foreach(id 169 170 171 308 177 174 173 309 175 172 176 310)
  list(APPEND KOVA_RECORDED_DATA_FILES ${KOVA_RECORDED_DATA_DIR}/${id})
endforeach()
add_custom_command(
  OUTPUT ${KOVA_RECORDED_DATA_FILES}
  COMMAND recorded-data ${KOVA_RECORDED_DATA_DIR}
  DEPENDS recorded-data
  COMMENT "Generating the recorded demonstration data"
  VERBATIM)
set_source_files_properties(${KOVA_RECORDED_DATA_FILES} PROPERTIES GENERATED TRUE)
qt_add_resources(comm "recorded_data"
  PREFIX "/kova/bin"
  BASE ${KOVA_RECORDED_DATA_DIR}
  FILES ${KOVA_RECORDED_DATA_FILES})
