# The device layer under the manikin link.
kova_test(PlatformDeviceTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceTest.cpp
  LIBS platform
  LABELS device)
