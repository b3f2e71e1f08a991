# Buttons, masked edit, bar gauge, hover hint, MDI client, the icon lists and
# the animation control, on the offscreen platform; the icon test also renders
# a contact sheet of all icons to <build>/tests/controls/icon-contact-sheet.png
# for a person to judge.
if(KOVA_TESTS AND KOVA_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(ControlsTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/MaskedEditTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IconImageListTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SmallControlsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MapBitmapButtonTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarGaugeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AnimateCtrlTest.cpp
  LIBS controls Qt6::Test)
