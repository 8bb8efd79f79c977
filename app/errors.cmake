# Server error texts and the stored identity.
target_sources(quillon_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ServerErrors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServerErrors.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellEvents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellEvents.h
)
