# The port registry against simulated manikins on pseudo-terminals and loopback.
if(TARGET manikinsim)
  kova_test(CommPortsTests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/PortRegistryTest.cpp
    LIBS comm app_core manikinsim
    LABELS device)
  if(TARGET CommPortsTests)
    add_dependencies(CommPortsTests recorded-data)
  endif()

  # The wireless search broadcasts, so this program runs in a network of its own.
  kova_test(CommSearchTests
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/SearchTestMain.cpp
      ${CMAKE_CURRENT_LIST_DIR}/PrivateNetwork.cpp
      ${CMAKE_CURRENT_LIST_DIR}/WirelessSearchTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/WirelessReplyTest.cpp
    LIBS comm manikinsim)
endif()

kova_fuzzer(WirelessReplyFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WirelessReplyFuzz.cpp
  LIBS comm)

kova_test(CommPortsGuiTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PortComboTest.cpp
  LIBS comm_gui)
