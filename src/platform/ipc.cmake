# Local messages between the station's programs: the splash close message.
# Kept apart from the platform library so only the programs that talk link
# Qt's network module.
kova_library(platform_ipc
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SplashMessage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SplashMessageServer.cpp
  PUBLIC_LIBS platform Qt6::Network)
