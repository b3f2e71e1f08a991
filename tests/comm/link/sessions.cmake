# What sessions need of the manikin link: a port given back after its
# manikin vanished, and the pulse flag.
if(TARGET manikinsim)
  kova_test(CommSessionLinkTests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/SerialPortReleaseTest.cpp
    LIBS comm app_core manikinsim
    LABELS device)
endif()
