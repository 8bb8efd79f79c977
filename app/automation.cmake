# Automation over the session bus and registration for launchers.
target_sources(quillon_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AutomationAdaptor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutomationAdaptor.h
  ${CMAKE_CURRENT_LIST_DIR}/AutomationServer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutomationServer.h
  ${CMAKE_CURRENT_LIST_DIR}/AutomationClient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutomationClient.h
  ${CMAKE_CURRENT_LIST_DIR}/Registration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Registration.h
)
